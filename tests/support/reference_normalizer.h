// SPDX-License-Identifier: MIT
// The rules for the output, written out plainly and separately from the
// engine, so that the tests' expected bytes do not come from the code they check.
#pragma once

#include <algorithm>
#include <cstdint>

#include "wave_bytes.h"

namespace testing_support {

struct Expected {
    int peak = 0;
    int gain = 1000;
    Bytes output;  // the whole file the save writes; empty when nothing is saved
};

// format and data as the source holds them; data is what is on disk.
inline Expected ReferenceNormalize(const Format& f, const Bytes& data) {
    Expected e;
    auto samplesIn = [&](std::size_t n) { return n / f.blockAlign * f.channels; };
    for (std::size_t block = 0; block < data.size(); block += 4096) {
        const std::size_t n = std::min<std::size_t>(4096, data.size() - block);
        for (std::size_t i = 0; i < samplesIn(n); ++i) {
            int magnitude = 0;
            if (f.bits == 8) magnitude = std::abs(int{data[block + i]} - 128);
            if (f.bits == 16) magnitude = std::abs(Sample16At(data, block + 2 * i));
            e.peak = std::max(e.peak, magnitude);
        }
    }
    const std::int64_t fullScale = f.bits == 8 ? 128 : f.bits == 16 ? 32768 : 0;
    if (e.peak > 0 && fullScale > 0) e.gain = static_cast<int>(fullScale * 1000 / e.peak);
    if (e.gain == 1000) return e;

    Bytes scaled = data;
    for (std::size_t block = 0; block < data.size(); block += 16384) {
        const std::size_t n = std::min<std::size_t>(16384, data.size() - block);
        for (std::size_t i = 0; i < samplesIn(n); ++i) {
            if (f.bits == 8) {
                std::int64_t t = std::int64_t{e.gain} * (int{data[block + i]} - 128) / 1000;
                t = std::clamp<std::int64_t>(t, -128, 127);
                scaled[block + i] = static_cast<unsigned char>(t + 128);
            } else if (f.bits == 16) {
                std::int64_t t = std::int64_t{e.gain} * Sample16At(data, block + 2 * i) / 1000;
                t = std::clamp<std::int64_t>(t, -32768, 32767);
                scaled[block + 2 * i] = static_cast<unsigned char>(t & 0xFF);
                scaled[block + 2 * i + 1] = static_cast<unsigned char>((t >> 8) & 0xFF);
            }
        }
    }
    Bytes out;
    PutId(out, "RIFF");
    PutLe32(out, static_cast<std::uint32_t>(36 + scaled.size() + scaled.size() % 2));
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    PutLe32(out, 16);
    const Bytes fmt = FormatBytes(f);
    out.insert(out.end(), fmt.begin(), fmt.end());
    PutId(out, "data");
    PutLe32(out, static_cast<std::uint32_t>(scaled.size()));
    out.insert(out.end(), scaled.begin(), scaled.end());
    if (scaled.size() % 2) out.push_back(0);
    e.output = out;
    return e;
}

}  // namespace testing_support
