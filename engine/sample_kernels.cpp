// SPDX-License-Identifier: MIT
#include "sample_kernels.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

// On x86-64 with the GNU toolchain each kernel is also built for AVX2 and
// AVX-512, and the loader picks the variant the processor can run;
// everywhere else the portable build stands alone.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__) && \
    !defined(__SANITIZE_ADDRESS__)
#define VARNOLA_MULTIVERSION __attribute__((target_clones("default", "avx2", "arch=x86-64-v4")))
#else
#define VARNOLA_MULTIVERSION
#endif

namespace varnola {
namespace {

// The samples are worked on where they lie: little-endian in the file, so
// a plain (vector) load on a little-endian host, swapped on any other.
std::uint16_t ToLittleEndian(std::uint16_t v) {
    if constexpr (std::endian::native == std::endian::little) return v;
    return static_cast<std::uint16_t>(v << 8 | v >> 8);
}

std::int16_t SampleAt(const unsigned char* bytes, std::size_t i) {
    std::uint16_t v;
    std::memcpy(&v, bytes + 2 * i, 2);
    return static_cast<std::int16_t>(ToLittleEndian(v));
}

void StoreSample(unsigned char* bytes, std::size_t i, std::int16_t sample) {
    const std::uint16_t v = ToLittleEndian(static_cast<std::uint16_t>(sample));
    std::memcpy(bytes + 2 * i, &v, 2);
}

// While |gain| <= 65535 the product with any 16-bit value (at most 32768 in
// magnitude) stays below 2^31, so 32-bit lanes are exact.
constexpr int kMaxNarrowGain = 65535;

// From this gain on every non-zero 8-bit sample clips, so any larger one
// gives the same bytes; held to it, the product stays within 32 bits.
constexpr int kSaturating8BitGain = 128000;

VARNOLA_MULTIVERSION
void ScaleNarrow(unsigned char* bytes, std::size_t count, int gain) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t t = gain * static_cast<std::int32_t>(SampleAt(bytes, i)) / 1000;
        StoreSample(bytes, i,
                    static_cast<std::int16_t>(std::clamp<std::int32_t>(t, -32768, 32767)));
    }
}

void ScaleWide(unsigned char* bytes, std::size_t count, int gain) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t t = std::int64_t{gain} * SampleAt(bytes, i) / 1000;
        StoreSample(bytes, i,
                    static_cast<std::int16_t>(std::clamp<std::int64_t>(t, -32768, 32767)));
    }
}

}  // namespace

VARNOLA_MULTIVERSION
int PeakOf8Bit(const unsigned char* samples, std::size_t count) {
    unsigned char high = 128;
    unsigned char low = 128;
    for (std::size_t i = 0; i < count; ++i) {
        high = std::max(high, samples[i]);
        low = std::min(low, samples[i]);
    }
    return std::max(high - 128, 128 - low);
}

VARNOLA_MULTIVERSION
int PeakOf16Bit(const unsigned char* samples, std::size_t count) {
    // The largest magnitude is the larger of the maximum and the negated
    // minimum; two plain reductions vectorise where |s| would not.
    std::int16_t high = 0;
    std::int16_t low = 0;
    for (std::size_t i = 0; i < count; ++i) {
        high = std::max(high, SampleAt(samples, i));
        low = std::min(low, SampleAt(samples, i));
    }
    return std::max<int>(high, -static_cast<int>(low));
}

VARNOLA_MULTIVERSION
void Scale8Bit(unsigned char* samples, std::size_t count, int gain) {
    // The gain measured on an 8-bit file is at most 128000, but a file
    // swapped under the job can bring a 16-bit one's; 128000 * 128 fits.
    gain = std::clamp(gain, -kSaturating8BitGain, kSaturating8BitGain);
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t t = gain * (static_cast<std::int32_t>(samples[i]) - 128) / 1000;
        samples[i] = static_cast<unsigned char>(std::clamp<std::int32_t>(t, -128, 127) + 128);
    }
}

void Scale16Bit(unsigned char* samples, std::size_t count, int gain) {
    if (gain >= -kMaxNarrowGain && gain <= kMaxNarrowGain) {
        ScaleNarrow(samples, count, gain);
    } else {
        ScaleWide(samples, count, gain);
    }
}

}  // namespace varnola
