// SPDX-License-Identifier: MIT
#include "wave_format.h"

#include "byte_order.h"

namespace varnola {
namespace {

// A frame must hold one sample of every channel, or the sample counts taken
// from it would reach past the bytes read. Only 8 and 16 bits are ever
// examined, so only they are held to it.
bool FrameHoldsItsSamples(const PcmFormat& format) {
    if (format.blockAlign == 0) return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return true;
    const unsigned bytesPerSample = format.bitsPerSample / 8u;
    return format.blockAlign >= format.channels * bytesPerSample;
}

}  // namespace

PcmFormat DecodePcmFormat(const unsigned char (&bytes)[kPcmFormatBytes]) {
    PcmFormat format;
    format.formatTag = LoadLe16(bytes + 0);
    format.channels = LoadLe16(bytes + 2);
    format.samplesPerSec = LoadLe32(bytes + 4);
    format.avgBytesPerSec = LoadLe32(bytes + 8);
    format.blockAlign = LoadLe16(bytes + 12);
    format.bitsPerSample = LoadLe16(bytes + 14);
    return format;
}

void EncodePcmFormat(const PcmFormat& format, unsigned char (&bytes)[kPcmFormatBytes]) {
    StoreLe16(bytes + 0, format.formatTag);
    StoreLe16(bytes + 2, format.channels);
    StoreLe32(bytes + 4, format.samplesPerSec);
    StoreLe32(bytes + 8, format.avgBytesPerSec);
    StoreLe16(bytes + 12, format.blockAlign);
    StoreLe16(bytes + 14, format.bitsPerSample);
}

WaveCheck ReadWaveLayout(RiffFile& file, WaveLayout& layout) {
    WaveLayout found;
    if (!file.FindRiff(found.form, kWaveForm)) return WaveCheck::kNoWaveForm;
    if (!file.FindChunk(found.chunk, found.form, kFormatChunk)) return WaveCheck::kNoFormatChunk;
    // Longer forms (18 bytes with an extra-size field, 40 extensible) carry
    // the same 16 bytes first; the rest is skipped by the ascend.
    if (found.chunk.size < kPcmFormatBytes) return WaveCheck::kShortFormat;
    unsigned char bytes[kPcmFormatBytes];
    if (file.Read(bytes, sizeof bytes) != static_cast<long long>(sizeof bytes)) {
        return WaveCheck::kShortFormat;
    }
    found.format = DecodePcmFormat(bytes);
    if (found.format.formatTag != kPcmFormatTag) return WaveCheck::kNotPcm;
    if (!FrameHoldsItsSamples(found.format)) return WaveCheck::kBadBlockAlign;
    file.Ascend(found.chunk);
    if (!file.FindChunk(found.chunk, found.form, kDataChunk)) return WaveCheck::kNoDataChunk;
    if (found.chunk.size == 0) return WaveCheck::kEmptyData;
    found.dataSize = found.chunk.size;
    layout = found;
    return WaveCheck::kAccepted;
}

bool BeginWaveOutput(RiffFile& file, const PcmFormat& format, ChunkInfo& form, ChunkInfo& data) {
    form = ChunkInfo{};
    form.formType = kWaveForm;
    if (!file.CreateChunk(form, true)) return false;

    ChunkInfo fmt{};
    fmt.id = kFormatChunk;
    fmt.size = kPcmFormatBytes;
    if (!file.CreateChunk(fmt, false)) return false;
    unsigned char bytes[kPcmFormatBytes];
    EncodePcmFormat(format, bytes);
    if (file.Write(bytes, sizeof bytes) != static_cast<long long>(sizeof bytes)) return false;
    if (!file.Ascend(fmt)) return false;

    data = ChunkInfo{};
    data.id = kDataChunk;
    return file.CreateChunk(data, false);
}

bool EndWaveOutput(RiffFile& file, ChunkInfo& form, ChunkInfo& data) {
    return file.Ascend(data) && file.Ascend(form);
}

}  // namespace varnola
