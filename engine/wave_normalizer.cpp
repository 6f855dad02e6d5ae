// SPDX-License-Identifier: MIT
#include "wave_normalizer.h"

#include <algorithm>
#include <memory>

#include "message_pump.h"
#include "riff_file.h"
#include "sample_kernels.h"
#include "unfinished_copy.h"
#include "wave_format.h"

using varnola::FileStatus;
using varnola::RiffFile;

namespace {

// Full scale of a sample depth: 2^(bits - 1), for the depths that are processed.
int FullScaleOf(std::uint16_t bitsPerSample) {
    switch (bitsPerSample) {
        case 8:
            return 128;
        case 16:
            return 32768;
        default:
            return 0;
    }
}

bool IsReadOnly(const FileStatus& status) { return (status.permissions & 0222) == 0; }

}  // namespace

CWaveNormalizer::CWaveNormalizer(varnola::FileSystem& fileSystem)
    : fs(fileSystem), source(std::make_unique<RiffFile>(fileSystem)) {}

CWaveNormalizer::~CWaveNormalizer() = default;

bool CWaveNormalizer::Open(const std::string& sourcePath) {
    path = sourcePath;
    if (!OpenSource()) return false;
    CloseSource();
    return true;
}

bool CWaveNormalizer::OpenSource() {
    varnola::WaveLayout layout;
    check = source->OpenForReading(path) ? varnola::ReadWaveLayout(*source, layout)
                                         : varnola::WaveCheck::kUnreadable;
    if (check != varnola::WaveCheck::kAccepted) {
        CloseSource();
        return false;
    }
    format = layout.format;
    dataSize = layout.dataSize;
    return true;
}

void CWaveNormalizer::CloseSource() { source->Close(); }

std::size_t CWaveNormalizer::SamplesIn(std::size_t byteCount) const {
    // The reader refused a block alignment of 0, and for 8 and 16 bits one
    // too small for its channels, so these samples all lie within the bytes.
    const std::size_t frames = byteCount / format.blockAlign;
    return frames * format.channels;
}

int CWaveNormalizer::MeasurePeak(CProgressCtrl& progress) {
    if (peak >= 0) return peak;
    if (!OpenSource()) return -1;
    // The gain is only good for the file measured: the save refuses any other.
    if (!fs.Status(source->Handle(), measured)) {
        CloseSource();
        return -1;
    }

    const std::uint64_t count = dataSize;
    progress.SetRange32(0, dataSize);
    peak = 0;
    unsigned char buffer[kScanBlockBytes];
    for (std::uint64_t offset = 0; offset < count; offset += kScanBlockBytes) {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(kScanBlockBytes, count - offset));
        const long long got = source->Read(buffer, wanted);
        if (got == 0) break;  // data shorter than declared: what is there counts
        if (got < 0) {
            // A peak from part of the file would clip the rest: no measurement.
            peak = -1;
            break;
        }
        const std::size_t samples = SamplesIn(static_cast<std::size_t>(got));
        int blockPeak = 0;
        if (format.bitsPerSample == 8) {
            blockPeak = varnola::PeakOf8Bit(buffer, samples);
        } else if (format.bitsPerSample == 16) {
            blockPeak = varnola::PeakOf16Bit(buffer, samples);
        }
        peak = std::max(peak, blockPeak);
        progress.SetPos(static_cast<std::uint32_t>(offset));
        PumpWaitingMessages();
    }
    CloseSource();
    return peak;
}

void CWaveNormalizer::ComputeGain(CProgressCtrl& progress) {
    const int p = MeasurePeak(progress);
    const int fullScale = FullScaleOf(format.bitsPerSample);
    if (p > 0 && fullScale > 0) gain = fullScale * kUnityGain / p;
}

void CWaveNormalizer::ApplyGain(std::uint64_t /*offset*/, std::size_t byteCount,
                                unsigned char* buffer) const {
    if (gain == kUnityGain) return;
    const std::size_t samples = SamplesIn(byteCount);
    if (format.bitsPerSample == 8) {
        varnola::Scale8Bit(buffer, samples, gain);
    } else if (format.bitsPerSample == 16) {
        varnola::Scale16Bit(buffer, samples, gain);
    }
}

bool CWaveNormalizer::CopyScaledData(RiffFile& output, CProgressCtrl& progress) {
    varnola::ChunkInfo outForm;
    varnola::ChunkInfo outData;
    if (!varnola::BeginWaveOutput(output, format, outForm, outData)) return false;

    const std::uint64_t count = dataSize;
    progress.SetRange32(0, dataSize);
    auto buffer = std::make_unique<unsigned char[]>(kRewriteBlockBytes);
    for (std::uint64_t offset = 0; offset < count; offset += kRewriteBlockBytes) {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(kRewriteBlockBytes, count - offset));
        const long long got = source->Read(buffer.get(), wanted);
        if (got <= 0) return false;
        const auto n = static_cast<std::size_t>(got);
        ApplyGain(offset, n, buffer.get());
        if (output.Write(buffer.get(), n) != got) return false;
        progress.SetPos(static_cast<std::uint32_t>(offset));
        PumpWaitingMessages();
    }
    // Fails when the file would outgrow the 32-bit RIFF size.
    return varnola::EndWaveOutput(output, outForm, outData);
}

bool CWaveNormalizer::SaveNormalized(CProgressCtrl& progress) {
    // A symbolic link stays a link: the file it points to is the one replaced.
    std::string target = path;
    FileStatus entry;
    if (fs.PathStatus(path, entry) && entry.symlink && !fs.ResolveLinks(path, target)) {
        return false;
    }
    const std::string temporary = target + ".$$$";

    if (!OpenSource()) return false;
    // The file at the path must still be the one the gain was measured on,
    // unchanged: another file's samples scaled with this gain would clip.
    // Every job holds the source's lock until its copy is in place or gone,
    // so two jobs never write the same temporary file.
    FileStatus original;
    if (!fs.Status(source->Handle(), original) ||
        (peak >= 0 && !original.SameFileAndContent(measured)) ||
        !fs.LockForSave(source->Handle())) {
        CloseSource();
        return false;
    }
    // Armed before the copy exists, so that no moment of its life is missed;
    // whatever held the name before is removed on creation anyway.
    varnola::UnfinishedCopy unfinished(temporary);
    RiffFile output(fs);
    FileStatus copy;
    if (!output.OpenForWriting(temporary)) {
        CloseSource();
        return false;
    }
    if (!fs.Status(output.Handle(), copy)) {
        // Created by this job a moment ago, under the lock.
        output.Close();
        fs.Remove(temporary);
        CloseSource();
        return false;
    }
    // The copy is complete, carries the source's owner, attributes and
    // permissions, and is on the disk before anything touches the source.
    bool written = CopyScaledData(output, progress) && KeepMetadata(output.Handle(), original) &&
                   fs.Flush(output.Handle());
    written = output.Close() && written;
    const bool replaced = written && ReplaceSource(target, temporary, original, copy, unfinished);
    if (!written) RemoveCopy(temporary, copy);
    CloseSource();
    return replaced;
}

bool CWaveNormalizer::KeepMetadata(varnola::FileSystem::Handle copy, const FileStatus& original) {
    // The owner first: a change of owner clears the set-id bits, which the
    // permissions then put back, but only on a file still of the source's
    // owner and group.
    fs.SetOwner(copy, original.owner, original.group);
    FileStatus now;
    if (!fs.Status(copy, now)) return false;
    std::uint32_t permissions = original.permissions;
    if (now.owner != original.owner) permissions &= ~04000u;
    if (now.group != original.group) permissions &= ~02000u;
    return fs.CopyAttributes(source->Handle(), copy) && fs.SetPermissions(copy, permissions);
}

void CWaveNormalizer::RemoveCopy(const std::string& temporary, const FileStatus& copy) {
    // Only this job's own copy: a file another program put at the name stays.
    FileStatus now;
    if (fs.PathStatus(temporary, now) && now.SameFile(copy)) fs.Remove(temporary);
}

bool CWaveNormalizer::ReplaceSource(const std::string& target, const std::string& temporary,
                                    const FileStatus& original, const FileStatus& copy,
                                    varnola::UnfinishedCopy& unfinished) {
    // Someone else's newer file at the name is never clobbered; the copy of
    // what it replaced is worth nothing then.
    FileStatus now;
    if (!fs.PathStatus(target, now) || !now.SameFileAndContent(original)) {
        RemoveCopy(temporary, copy);
        return false;
    }
    // A read-only source is not deleted; the finished copy stays beside it.
    if (IsReadOnly(now) || !fs.CanWrite(target)) return false;
    // Only the copy this job wrote, whole, ever takes the source's place.
    FileStatus atTemporary;
    if (!fs.PathStatus(temporary, atTemporary) || !atTemporary.SameFile(copy)) return false;
    if (!fs.CanReplaceOpenFiles()) CloseSource();
    unfinished.Keep();
    // One atomic step: the name holds either the old file or the new one. A
    // failed rename leaves both where they are.
    if (!fs.Replace(temporary, target)) return false;
    // Saved only once the rename will outlast a crash, as far as the system
    // says; otherwise the user hears of a failure, though the new file is
    // in place, and a second run finds it already at full scale.
    return fs.FlushFolderOf(target);
}
