// SPDX-License-Identifier: MIT
// The per-sample arithmetic of the peak scan and the rewrite, on whole runs
// of samples so that the compiler can vectorise each loop.
//
// 8-bit samples are unsigned with silence at 128; 16-bit samples are signed
// little-endian. `count` is a number of samples, not bytes.
#pragma once

#include <cstddef>

namespace varnola {

// Largest |b - 128| of the bytes: 0 gives 128, 255 gives 127.
int PeakOf8Bit(const unsigned char* samples, std::size_t count);
// Largest |s| in 32 bits, so -32768 gives 32768.
int PeakOf16Bit(const unsigned char* samples, std::size_t count);

// t = gain * (b - 128) / 1000 truncated toward zero, clipped to -128..127,
// stored as t + 128.
void Scale8Bit(unsigned char* samples, std::size_t count, int gain);
// t = gain * s / 1000 truncated toward zero, clipped to -32768..32767.
void Scale16Bit(unsigned char* samples, std::size_t count, int gain);

}  // namespace varnola
