#include "sample_kernels.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

// On x86-64 with the GNU toolchain each kernel is also built for AVX2 and
// the loader picks the variant the processor can run; everywhere else the
// portable build stands alone.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__) && \
    !defined(__SANITIZE_ADDRESS__)
#define VARNOLA_MULTIVERSION __attribute__((target_clones("default", "avx2", "arch=x86-64-v4")))
#else
#define VARNOLA_MULTIVERSION
#endif

namespace varnola {
namespace {

// A block is at most 16384 bytes; the 16-bit kernels work on it through an
// aligned copy of the samples in host order.
constexpr std::size_t kChunkSamples = 8192;

std::uint16_t SwapBytes(std::uint16_t v) { return static_cast<std::uint16_t>(v << 8 | v >> 8); }

void LoadSamples(const unsigned char* bytes, std::int16_t* samples, std::size_t count) {
    std::memcpy(samples, bytes, count * 2);
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t i = 0; i < count; ++i) {
            samples[i] = static_cast<std::int16_t>(SwapBytes(static_cast<std::uint16_t>(samples[i])));
        }
    }
}

void StoreSamples(const std::int16_t* samples, unsigned char* bytes, std::size_t count) {
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t i = 0; i < count; ++i) {
            const auto v = SwapBytes(static_cast<std::uint16_t>(samples[i]));
            std::memcpy(bytes + 2 * i, &v, 2);
        }
    } else {
        std::memcpy(bytes, samples, count * 2);
    }
}

std::int16_t SampleAt(const unsigned char* bytes, std::size_t i) {
    std::int16_t s;
    std::memcpy(&s, bytes + 2 * i, 2);
    return s;
}

// Little-endian hosts work on the bytes where they lie.
VARNOLA_MULTIVERSION
int PeakInPlace(const unsigned char* bytes, std::size_t count) {
    std::int16_t high = 0;
    std::int16_t low = 0;
    for (std::size_t i = 0; i < count; ++i) {
        high = std::max(high, SampleAt(bytes, i));
        low = std::min(low, SampleAt(bytes, i));
    }
    return std::max<int>(high, -static_cast<int>(low));
}

VARNOLA_MULTIVERSION
void ScaleInPlaceNarrow(unsigned char* bytes, std::size_t count, int gain) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t t = gain * static_cast<std::int32_t>(SampleAt(bytes, i)) / 1000;
        const auto s = static_cast<std::int16_t>(std::clamp<std::int32_t>(t, -32768, 32767));
        std::memcpy(bytes + 2 * i, &s, 2);
    }
}

VARNOLA_MULTIVERSION
int PeakOfSamples(const std::int16_t* samples, std::size_t count) {
    // The largest magnitude is the larger of the maximum and the negated
    // minimum; two plain reductions vectorise where |s| would not.
    std::int16_t high = 0;
    std::int16_t low = 0;
    for (std::size_t i = 0; i < count; ++i) {
        high = std::max(high, samples[i]);
        low = std::min(low, samples[i]);
    }
    return std::max<int>(high, -static_cast<int>(low));
}

// While gain <= 65535 the product with any 16-bit value (at most 32768 in
// magnitude) stays below 2^31, so 32-bit lanes are exact.
constexpr int kMaxNarrowGain = 65535;

VARNOLA_MULTIVERSION
void ScaleSamplesNarrow(std::int16_t* samples, std::size_t count, int gain) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t t = gain * static_cast<std::int32_t>(samples[i]) / 1000;
        samples[i] = static_cast<std::int16_t>(std::clamp<std::int32_t>(t, -32768, 32767));
    }
}

void ScaleSamplesWide(std::int16_t* samples, std::size_t count, int gain) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t t = std::int64_t{gain} * samples[i] / 1000;
        samples[i] = static_cast<std::int16_t>(std::clamp<std::int64_t>(t, -32768, 32767));
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

int PeakOf16Bit(const unsigned char* samples, std::size_t count) {
    if constexpr (std::endian::native == std::endian::little) return PeakInPlace(samples, count);
    alignas(64) std::int16_t chunk[kChunkSamples];
    int peak = 0;
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(kChunkSamples, count - done);
        LoadSamples(samples + 2 * done, chunk, n);
        peak = std::max(peak, PeakOfSamples(chunk, n));
        done += n;
    }
    return peak;
}

VARNOLA_MULTIVERSION
void Scale8Bit(unsigned char* samples, std::size_t count, int gain) {
    // The largest gain is 128000 (a peak of 1), and 128000 * 128 fits 32 bits.
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t t = gain * (static_cast<std::int32_t>(samples[i]) - 128) / 1000;
        samples[i] = static_cast<unsigned char>(std::clamp<std::int32_t>(t, -128, 127) + 128);
    }
}

void Scale16Bit(unsigned char* samples, std::size_t count, int gain) {
    if constexpr (std::endian::native == std::endian::little) {
        if (gain <= kMaxNarrowGain) {
            ScaleInPlaceNarrow(samples, count, gain);
            return;
        }
    }
    alignas(64) std::int16_t chunk[kChunkSamples];
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(kChunkSamples, count - done);
        LoadSamples(samples + 2 * done, chunk, n);
        if (gain <= kMaxNarrowGain) {
            ScaleSamplesNarrow(chunk, n, gain);
        } else {
            ScaleSamplesWide(chunk, n, gain);
        }
        StoreSamples(chunk, samples + 2 * done, n);
        done += n;
    }
}

}  // namespace varnola
