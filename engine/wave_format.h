// SPDX-License-Identifier: MIT
// The one kind of file Varnola reads and writes: uncompressed PCM in a RIFF
// "WAVE" form. What is accepted on reading and the exact layout written.
#pragma once

#include <cstdint>

#include "pcm_format.h"
#include "riff_file.h"

namespace varnola {

constexpr FourCC kWaveForm = MakeFourCC("WAVE");
constexpr FourCC kFormatChunk = MakeFourCC("fmt ");
constexpr FourCC kDataChunk = MakeFourCC("data");

PcmFormat DecodePcmFormat(const unsigned char (&bytes)[kPcmFormatBytes]);
void EncodePcmFormat(const PcmFormat& format, unsigned char (&bytes)[kPcmFormatBytes]);

// What the reader leaves behind on success: the file positioned at the
// first sample byte.
struct WaveLayout {
    ChunkInfo form;
    ChunkInfo chunk;  // the "data" chunk
    PcmFormat format;
    std::uint32_t dataSize = 0;
};

// Validates the open file from its start. On refusal nothing is retained and
// the caller closes the file.
WaveCheck ReadWaveLayout(RiffFile& file, WaveLayout& layout);

// Writes the RIFF form, the 16-byte "fmt " chunk and opens "data".
bool BeginWaveOutput(RiffFile& file, const PcmFormat& format, ChunkInfo& form, ChunkInfo& data);
// Closes "data" (with its pad byte) and the form, filling in both sizes.
bool EndWaveOutput(RiffFile& file, ChunkInfo& form, ChunkInfo& data);

}  // namespace varnola
