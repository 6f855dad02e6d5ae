// SPDX-License-Identifier: MIT
// The reader's rules and the whole job's outcome, worked out plainly from a
// file's bytes in memory, sharing no code with the engine: what the tests
// and the fuzzer expect of any file, valid or hostile.
#pragma once

#include <cstdint>
#include <cstring>

#include "pcm_format.h"
#include "reference_normalizer.h"

namespace testing_support {

struct ReferenceJob {
    varnola::WaveCheck check = varnola::WaveCheck::kNoWaveForm;
    Format format;
    Expected expected;   // peak, gain and the saved file, for an accepted file
    bool saved = false;  // whether the job ends with the file replaced
};

namespace reference_detail {

inline bool IdAt(const Bytes& file, std::uint64_t at, const char* id) {
    return at + 4 <= file.size() && std::memcmp(file.data() + at, id, 4) == 0;
}

inline std::uint16_t Le16At(const Bytes& file, std::uint64_t at) {
    return static_cast<std::uint16_t>(file[at] | file[at + 1] << 8);
}

// Walks chunk headers from `at` while a whole header lies before `end` and
// in the file; the offset of the first data byte of chunk `id`, or 0.
inline std::uint64_t FindChunk(const Bytes& file, std::uint64_t at, std::uint64_t end,
                               const char* id) {
    while (at + 8 <= end && at + 8 <= file.size()) {
        if (IdAt(file, at, id)) return at + 8;
        const std::uint64_t size = GetLe32(file, static_cast<std::size_t>(at + 4));
        at += 8 + size + size % 2;
    }
    return 0;
}

}  // namespace reference_detail

inline ReferenceJob RunReferenceJob(const Bytes& file) {
    using namespace reference_detail;
    using varnola::WaveCheck;
    ReferenceJob job;
    const std::uint64_t fileSize = file.size();

    // The first "RIFF" chunk, at the top level, whose next four bytes read "WAVE".
    std::uint64_t at = 0;
    std::uint64_t formStart = 0;
    std::uint64_t formEnd = 0;
    for (;;) {
        if (at + 8 > fileSize) return job;
        const std::uint64_t size = GetLe32(file, static_cast<std::size_t>(at + 4));
        if (IdAt(file, at, "RIFF") && IdAt(file, at + 8, "WAVE")) {
            formStart = at + 8;
            formEnd = formStart + size;
            break;
        }
        at += 8 + size + size % 2;
    }

    const std::uint64_t fmt = FindChunk(file, formStart + 4, formEnd, "fmt ");
    if (fmt == 0) {
        job.check = WaveCheck::kNoFormatChunk;
        return job;
    }
    const std::uint64_t fmtSize = GetLe32(file, static_cast<std::size_t>(fmt - 4));
    if (fmtSize < 16 || fmt + 16 > fileSize) {
        job.check = WaveCheck::kShortFormat;
        return job;
    }
    Format& f = job.format;
    const auto at16 = [&](int field) {
        return Le16At(file, fmt + static_cast<std::uint64_t>(field));
    };
    f.tag = at16(0);
    f.channels = at16(2);
    f.rate = GetLe32(file, static_cast<std::size_t>(fmt + 4));
    f.byteRate = GetLe32(file, static_cast<std::size_t>(fmt + 8));
    f.blockAlign = at16(12);
    f.bits = at16(14);
    if (f.tag != 1) {
        job.check = WaveCheck::kNotPcm;
        return job;
    }
    const bool examined = f.bits == 8 || f.bits == 16;
    if (f.blockAlign == 0 || (examined && f.blockAlign < f.channels * (f.bits / 8))) {
        job.check = WaveCheck::kBadBlockAlign;
        return job;
    }

    const std::uint64_t data = FindChunk(file, fmt + fmtSize + fmtSize % 2, formEnd, "data");
    if (data == 0) {
        job.check = WaveCheck::kNoDataChunk;
        return job;
    }
    const std::uint64_t declared = GetLe32(file, static_cast<std::size_t>(data - 4));
    if (declared == 0) {
        job.check = WaveCheck::kEmptyData;
        return job;
    }
    job.check = WaveCheck::kAccepted;

    // The samples are whatever bytes follow, up to the declared size.
    const std::uint64_t present = data < fileSize ? std::min(declared, fileSize - data) : 0;
    const Bytes samples(
        file.begin() + static_cast<std::ptrdiff_t>(std::min(data, fileSize)),
        file.begin() + static_cast<std::ptrdiff_t>(std::min(data, fileSize) + present));
    job.expected = ReferenceNormalize(f, samples);
    // The rewrite reads the declared size in blocks of 16384 and fails on a
    // block that finds nothing, which only the last can be; the output's
    // RIFF size must fit its 32 bits.
    const std::uint64_t lastBlock = (declared - 1) / 16384 * 16384;
    job.saved = job.expected.gain != 1000 && present > lastBlock &&
                36 + present + present % 2 <= 0xFFFFFFFFu;
    if (!job.saved) job.expected.output.clear();
    return job;
}

}  // namespace testing_support
