// SPDX-License-Identifier: MIT
// All the work on one wave file: validate it, measure its largest sample,
// derive the gain that brings that peak to full scale, and put a scaled copy
// in the file's place.
//
// One object serves one file. Use: construct, Open, ComputeGain, read the
// gain; when it is not 1000, SaveNormalized. Both long loops report to the
// progress bar they are handed and dispatch the thread's waiting messages
// after every block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "file_system.h"
#include "pcm_format.h"
#include "progress_ctrl.h"

namespace varnola {
class RiffFile;
class UnfinishedCopy;
}  // namespace varnola

class CWaveNormalizer {
public:
    static constexpr int kUnityGain = 1000;  // gains are in thousandths
    static constexpr std::size_t kScanBlockBytes = 4096;
    static constexpr std::size_t kRewriteBlockBytes = 16384;

    explicit CWaveNormalizer(varnola::FileSystem& fs = varnola::SystemFileSystem());
    ~CWaveNormalizer();
    CWaveNormalizer(const CWaveNormalizer&) = delete;
    CWaveNormalizer& operator=(const CWaveNormalizer&) = delete;

    // Remembers the path and validates the file; holds nothing open after.
    bool Open(const std::string& path);
    // The peak, measured once per object; -1 when the file cannot be reopened.
    int MeasurePeak(CProgressCtrl& progress);
    // Measures, then sets the gain; silence and unreadable files keep 1000.
    void ComputeGain(CProgressCtrl& progress);
    // Writes the scaled copy beside the file and puts it in the file's place.
    bool SaveNormalized(CProgressCtrl& progress);

    int GetGain() const { return gain; }
    int GetPeak() const { return peak; }
    const varnola::PcmFormat& GetFormat() const { return format; }
    std::uint32_t GetDataSize() const { return dataSize; }
    // Why the last reading of the file refused it (kAccepted when it did not).
    varnola::WaveCheck GetCheck() const { return check; }

    // Scales one block of sample bytes in place; offset is the block's
    // position in the data and does not change the result.
    void ApplyGain(std::uint64_t offset, std::size_t byteCount, unsigned char* buffer) const;

private:
    bool OpenSource();
    void CloseSource();
    std::size_t SamplesIn(std::size_t byteCount) const;
    bool CopyScaledData(varnola::RiffFile& output, CProgressCtrl& progress);
    bool ReplaceSource(const std::string& target, const std::string& temporary,
                       const varnola::FileStatus& original, const varnola::FileStatus& copy,
                       varnola::UnfinishedCopy& unfinished);
    bool KeepMetadata(varnola::FileSystem::Handle copy, const varnola::FileStatus& original);
    void RemoveCopy(const std::string& temporary, const varnola::FileStatus& copy);

    varnola::FileSystem& fs;
    std::string path;
    // Held behind a pointer so that the RIFF layer stays the engine's own.
    std::unique_ptr<varnola::RiffFile> source;
    varnola::PcmFormat format;
    std::uint32_t dataSize = 0;
    varnola::WaveCheck check = varnola::WaveCheck::kAccepted;
    varnola::FileStatus measured;  // the file the peak was measured on
    int peak = -1;
    int gain = kUnityGain;
};
