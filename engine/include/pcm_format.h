// SPDX-License-Identifier: MIT
// What a caller learns of a wave file: its sample format and, when the file
// was refused, the rule that refused it.
#pragma once

#include <cstdint>

namespace varnola {

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

}  // namespace varnola
