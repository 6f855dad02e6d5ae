// SPDX-License-Identifier: MIT
// Builds wave files byte by byte for the tests, independently of the engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<unsigned char>;

inline void PutLe16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

inline void PutLe32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

inline void PutId(Bytes& out, const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(id[i]));
}

inline std::uint32_t GetLe32(const Bytes& in, std::size_t at) {
    return in[at] | in[at + 1] << 8 | in[at + 2] << 16 |
           static_cast<std::uint32_t>(in[at + 3]) << 24;
}

struct Format {
    std::uint16_t tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 44100;
    std::uint32_t byteRate = 88200;
    std::uint16_t blockAlign = 2;
    std::uint16_t bits = 16;
};

inline Format Pcm(std::uint16_t channels, std::uint16_t bits) {
    Format f;
    f.channels = channels;
    f.bits = bits;
    f.blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    f.byteRate = f.rate * f.blockAlign;
    return f;
}

// A chunk with its header, data and pad byte. declaredSize overrides the size field.
inline Bytes Chunk(const char* id, const Bytes& data, std::int64_t declaredSize = -1,
                   bool pad = true) {
    Bytes out;
    PutId(out, id);
    PutLe32(out, declaredSize >= 0 ? static_cast<std::uint32_t>(declaredSize)
                                   : static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (pad && data.size() % 2) out.push_back(0);
    return out;
}

inline Bytes FormatBytes(const Format& f, std::size_t extraBytes = 0) {
    Bytes out;
    PutLe16(out, f.tag);
    PutLe16(out, f.channels);
    PutLe32(out, f.rate);
    PutLe32(out, f.byteRate);
    PutLe16(out, f.blockAlign);
    PutLe16(out, f.bits);
    out.resize(out.size() + extraBytes, 0);
    return out;
}

// "RIFF" size "WAVE" followed by the given chunks; riffSize overrides the size field.
inline Bytes RiffWave(const std::vector<Bytes>& chunks, std::int64_t riffSize = -1,
                      const char* formType = "WAVE") {
    Bytes body;
    PutId(body, formType);
    for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes out;
    PutId(out, "RIFF");
    PutLe32(out, riffSize >= 0 ? static_cast<std::uint32_t>(riffSize)
                               : static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline Bytes SimpleWave(const Format& f, const Bytes& samples) {
    return RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", samples)});
}

inline Bytes Samples16(const std::vector<int>& values) {
    Bytes out;
    for (int v : values) PutLe16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
    return out;
}

inline int Sample16At(const Bytes& data, std::size_t byteOffset) {
    return static_cast<std::int16_t>(data[byteOffset] | data[byteOffset + 1] << 8);
}

// A deterministic 16-bit signal of `count` samples whose largest magnitude is exactly `peak`.
inline Bytes Sine16(std::size_t count, int peak, std::uint32_t seed = 1) {
    std::vector<int> values(count);
    std::uint32_t state = seed;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        values[i] = static_cast<int>(state >> 16) % (peak + 1) - peak / 2;
        if (values[i] > peak) values[i] = peak;
        if (values[i] < -peak) values[i] = -peak;
    }
    if (count) values[count / 2] = peak;
    return Samples16(values);
}

}  // namespace testing_support
