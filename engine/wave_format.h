// SPDX-License-Identifier: MIT
// The one kind of file Varnola reads and writes: uncompressed PCM in a RIFF
// "WAVE" form. What is accepted on reading and the exact layout written.
#pragma once

#include <cstdint>

#include "riff_file.h"

namespace varnola {

constexpr FourCC kWaveForm = MakeFourCC("WAVE");
constexpr FourCC kFormatChunk = MakeFourCC("fmt ");
constexpr FourCC kDataChunk = MakeFourCC("data");

constexpr std::uint16_t kPcmFormatTag = 1;
constexpr std::uint32_t kPcmFormatBytes = 16;

// The sample format: the first 16 bytes of the "fmt " chunk, field by field.
struct PcmFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;  // copied through, never used
    std::uint16_t blockAlign = 0;      // bytes per frame
    std::uint16_t bitsPerSample = 0;

    bool operator==(const PcmFormat&) const = default;
};

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

// Why a file was refused: one reason per rule of the reader.
enum class WaveCheck {
    kAccepted,
    kUnreadable,     // not an existing regular file that can be opened
    kNoWaveForm,     // no "RIFF" chunk of form type "WAVE"
    kNoFormatChunk,  // no "fmt " chunk inside the form
    kShortFormat,    // "fmt " smaller than the 16-byte record, or cut short
    kNotPcm,         // a format tag other than 1
    kBadBlockAlign,  // a frame that cannot hold one sample of every channel
    kNoDataChunk,    // no "data" chunk after "fmt " inside the form
    kEmptyData,      // a "data" chunk of size 0
};

// Validates the open file from its start. On refusal nothing is retained and
// the caller closes the file.
WaveCheck ReadWaveLayout(RiffFile& file, WaveLayout& layout);

// Writes the RIFF form, the 16-byte "fmt " chunk and opens "data".
bool BeginWaveOutput(RiffFile& file, const PcmFormat& format, ChunkInfo& form, ChunkInfo& data);
// Closes "data" (with its pad byte) and the form, filling in both sizes.
bool EndWaveOutput(RiffFile& file, ChunkInfo& form, ChunkInfo& data);

}  // namespace varnola
