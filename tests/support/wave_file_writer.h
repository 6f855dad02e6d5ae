// SPDX-License-Identifier: MIT
// The one writer of wave files on disk for the tests, the benchmarks and the
// tools: a canonical PCM header, then the samples a generator gives, written
// in blocks so that a file of gigabytes needs no more memory than a block.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace wave_file {

struct Layout {
    std::uint16_t channels;
    std::uint16_t bits;  // 8 (unsigned samples) or 16
    std::uint32_t rate = 44100;
};

// `sampleAt(n)` is the value of the n-th sample, channels interleaved, as
// the file stores it (0..255 for 8 bits, -32768..32767 for 16).
inline bool Write(const std::string& path, const Layout& layout, std::uint64_t dataBytes,
                  const std::function<int(std::uint64_t)>& sampleAt) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(v >> (8 * i)));
    };
    const std::uint32_t align = layout.channels * layout.bits / 8u;
    out << "RIFF";
    put(static_cast<std::uint32_t>(36 + dataBytes), 4);
    out << "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(layout.channels, 2);
    put(layout.rate, 4);
    put(layout.rate * align, 4);
    put(align, 2);
    put(layout.bits, 2);
    out << "data";
    put(static_cast<std::uint32_t>(dataBytes), 4);

    const std::size_t sampleBytes = layout.bits / 8u;
    std::vector<char> block(std::size_t{1} << 20);
    std::uint64_t sample = 0;
    for (std::uint64_t left = dataBytes; out && left > 0;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        for (std::size_t i = 0; i + sampleBytes <= n; i += sampleBytes) {
            const auto v = static_cast<std::uint32_t>(sampleAt(sample++));
            block[i] = static_cast<char>(v & 0xFF);
            if (sampleBytes == 2) block[i + 1] = static_cast<char>((v >> 8) & 0xFF);
        }
        out.write(block.data(), static_cast<std::streamsize>(n));
        left -= n;
    }
    return static_cast<bool>(out.flush());
}

}  // namespace wave_file
