// SPDX-License-Identifier: MIT
// The application icon, drawn here pixel by pixel so that every backend
// shows the same picture: a waveform on a dark tile whose crests touch the
// two full-scale lines.
#include <cstdint>

#include "resources.h"

namespace {

constexpr std::uint32_t kClear = 0x00000000;
constexpr std::uint32_t kTile = 0xFF1E2A3A;
constexpr std::uint32_t kEdge = 0xFF0E141C;
constexpr std::uint32_t kScale = 0xFFE0B040;  // full-scale marks
constexpr std::uint32_t kWave = 0xFF58D0F0;
constexpr std::uint32_t kAxis = 0xFF3A4C60;

// One period of a sine, as integers: 64 steps, amplitude 1000.
constexpr int kSine[16] = {0, 98, 195, 290, 383, 471, 556, 634, 707, 773, 831, 882, 924, 957, 981, 995};

int SineOf(int step) {  // step 0..63 over one period
    const int quarter = step % 16;
    switch ((step / 16) % 4) {
        case 0: return kSine[quarter];
        case 1: return quarter == 0 ? 1000 : kSine[16 - quarter];
        case 2: return -kSine[quarter];
        default: return quarter == 0 ? -1000 : -kSine[16 - quarter];
    }
}

IconImage Draw(int size) {
    IconImage image{size, std::vector<std::uint32_t>(static_cast<std::size_t>(size * size), kClear)};
    auto put = [&](int x, int y, std::uint32_t c) {
        if (x >= 0 && y >= 0 && x < size && y < size) image.argb[static_cast<std::size_t>(y * size + x)] = c;
    };
    const int last = size - 1;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool corner = (x == 0 || x == last) && (y == 0 || y == last);
            if (corner) continue;
            const bool edge = x == 0 || y == 0 || x == last || y == last;
            put(x, y, edge ? kEdge : kTile);
        }
    }
    const int top = size / 8;
    const int bottom = last - size / 8;
    const int mid = (top + bottom) / 2;
    for (int x = 2; x < last - 1; ++x) {
        put(x, top, kScale);
        put(x, bottom, kScale);
        if (x % 2 == 0) put(x, mid, kAxis);
    }
    // Two periods across the tile, the amplitude growing until the crests meet full scale.
    const int half = (bottom - top) / 2;
    int previous = mid;
    for (int x = 2; x < last - 1; ++x) {
        const int step = (x - 2) * 128 / (size - 4);
        const int grow = 400 + 600 * (x - 2) / (size - 5);
        const int y = mid - SineOf(step % 64) * half * grow / 1000000;
        const int from = previous < y ? previous : y;
        const int to = previous < y ? y : previous;
        for (int v = from; v <= to; ++v) put(x, v, kWave);
        if (size >= 32) put(x, y + 1, kWave);
        previous = y;
    }
    return image;
}

}  // namespace

IconResource DrawAppIcon(UINT id) { return IconResource{id, {Draw(32), Draw(16)}}; }
