// SPDX-License-Identifier: MIT
// libFuzzer target: each input is written to a file in a private folder and
// run through a whole job. The outcome must be the one the rules, worked out
// on their own from the input's bytes, give: refused for the same rule, the
// same peak and gain, and the file untouched or exactly the normalised
// output of that model.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "reference_reader.h"
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
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            out.insert(out.end(), buffer, buffer + n);
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
    const bool opened = n.Open(path);
    if (opened) {
        n.ComputeGain(measure);
        if (n.GetGain() != 1000) saved = n.SaveNormalized(save);
    }
    const ReferenceJob want = RunReferenceJob(input);
    const Bytes now = Slurp(path);
    struct stat st {};
    Check(::lstat(temporary.c_str(), &st) != 0, "a temporary file was left");
    Check(n.GetCheck() == want.check, "refused for another rule than the model's");
    Check(opened == (want.check == varnola::WaveCheck::kAccepted), "Open disagrees with its check");
    if (opened) {
        Check(n.GetPeak() == want.expected.peak, "the peak is not the model's");
        Check(n.GetGain() == want.expected.gain, "the gain is not the model's");
    }
    Check(saved == want.saved, "saved where the model does not, or the reverse");
    Check(now == (saved ? want.expected.output : input), "the file is not what the model says");
    ::unlink(path.c_str());
    return 0;
}
