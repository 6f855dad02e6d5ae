// SPDX-License-Identifier: MIT
// libFuzzer target: each input is written to a file in a private folder and
// run through a whole job; afterwards the file must be the input untouched,
// or the complete normalised output of the data the reader found.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "reference_normalizer.h"
#include "wave_normalizer.h"

using namespace testing_support;

namespace {

std::string Folder() {
    static const std::string folder = [] {
        std::string pattern = "/tmp/varnola-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return folder;
}

Bytes Slurp(const std::string& path) {
    Bytes out;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        unsigned char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.insert(out.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return out;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Some "data" chunk of the input, read as the reader would, gives this output.
bool MatchesSomeDataChunk(const Bytes& input, const Bytes& output, const varnola::PcmFormat& pcm,
                          std::uint32_t dataSize) {
    Format f;
    f.tag = pcm.formatTag;
    f.channels = pcm.channels;
    f.rate = pcm.samplesPerSec;
    f.byteRate = pcm.avgBytesPerSec;
    f.blockAlign = pcm.blockAlign;
    f.bits = pcm.bitsPerSample;
    for (std::size_t at = 12; at + 8 <= input.size(); ++at) {
        if (input[at] != 'd' || input[at + 1] != 'a' || input[at + 2] != 't' || input[at + 3] != 'a') continue;
        if (GetLe32(input, at + 4) != dataSize) continue;
        const std::size_t from = at + 8;
        const std::size_t present = std::min<std::size_t>(dataSize, input.size() - from);
        const Bytes data(input.begin() + static_cast<long>(from), input.begin() + static_cast<long>(from + present));
        if (ReferenceNormalize(f, data).output == output) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string path = Folder() + "/input.wav";
    const std::string temporary = path + ".$$$";
    const Bytes input(bytes, bytes + size);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes, 1, size, f);
        std::fclose(f);
    } else {
        std::abort();
    }

    CProgressCtrl measure, save;
    CWaveNormalizer n;
    bool saved = false;
    if (n.Open(path)) {
        n.ComputeGain(measure);
        if (n.GetGain() != 1000) saved = n.SaveNormalized(save);
    }
    const Bytes now = Slurp(path);
    struct stat st {};
    Check(::lstat(temporary.c_str(), &st) != 0, "a temporary file was left");
    if (!saved) {
        Check(now == input, "an unsaved file changed");
    } else {
        Check(now.size() >= 44 && GetLe32(now, 4) == now.size() - 8, "the RIFF size is wrong");
        Check(MatchesSomeDataChunk(input, now, n.GetFormat(), n.GetDataSize()),
              "the saved file is not the normalised data");
    }
    ::unlink(path.c_str());
    return 0;
}
