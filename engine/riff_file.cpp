// SPDX-License-Identifier: MIT
#include "riff_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "byte_order.h"

namespace varnola {
namespace {

constexpr std::size_t kReadAheadBytes = 8192;
// Zero runs are read in growing steps up to this, so that a long run costs
// few calls while a short one is not read far past its end.
constexpr std::size_t kLargestZeroScanBytes = std::size_t{1} << 20;
constexpr std::uint64_t kChunkHeaderBytes = 8;  // id and size
constexpr std::uint64_t kFormTypeBytes = 4;

}  // namespace

RiffFile::RiffFile(FileSystem& fs) : fs_(fs) {}

RiffFile::~RiffFile() { Close(); }

bool RiffFile::OpenForReading(const std::string& path) {
    Close();
    handle_ = fs_.OpenForReading(path);
    if (!IsOpen()) return false;
    writing_ = false;
    position_ = 0;
    buffer_ = std::make_unique<unsigned char[]>(kReadAheadBytes);
    bufferStart_ = 0;
    bufferLength_ = 0;
    return true;
}

bool RiffFile::OpenForWriting(const std::string& path) {
    Close();
    fs_.Remove(path);  // a stale file or a planted link; nothing there is fine too
    handle_ = fs_.CreateExclusive(path);
    if (!IsOpen()) return false;
    writing_ = true;
    position_ = 0;
    return true;
}

bool RiffFile::ReadHeaderAt(std::uint64_t offset, FourCC& id, std::uint32_t& size) {
    unsigned char header[kChunkHeaderBytes];
    const unsigned char* bytes = header;
    if (offset >= bufferStart_ && offset + kChunkHeaderBytes <= bufferStart_ + bufferLength_) {
        // The common case of a search through small chunks: no copy, no call.
        bytes = buffer_.get() + (offset - bufferStart_);
        position_ = offset + kChunkHeaderBytes;
    } else {
        position_ = offset;
        if (Read(header, sizeof header) != static_cast<long long>(sizeof header)) return false;
    }
    id = LoadLe32(bytes);
    size = LoadLe32(bytes + 4);
    return true;
}

std::uint64_t RiffFile::FirstNonZeroFrom(std::uint64_t at) {
    const auto nonZero = [](unsigned char b) { return b != 0; };
    if (at >= bufferStart_ && at < bufferStart_ + bufferLength_) {
        const unsigned char* from = buffer_.get() + (at - bufferStart_);
        const unsigned char* end = buffer_.get() + bufferLength_;
        const unsigned char* found = std::find_if(from, end, nonZero);
        if (found != end) return at + static_cast<std::uint64_t>(found - from);
        at = bufferStart_ + bufferLength_;
    }
    std::vector<unsigned char> scratch;
    std::size_t step = kReadAheadBytes;
    for (;;) {
        // A hole reads as zeros: the system says where the next data lies.
        at = std::max(at, fs_.NextData(handle_, at));
        scratch.resize(step);
        const long long n = fs_.ReadAt(handle_, scratch.data(), step, at);
        if (n <= 0) return at;  // the end; an error shows when the header is read there
        const unsigned char* end = scratch.data() + n;
        const unsigned char* found =
            std::find_if<const unsigned char*>(scratch.data(), end, nonZero);
        if (found != end) return at + static_cast<std::uint64_t>(found - scratch.data());
        at += static_cast<std::uint64_t>(n);
        step = std::min(step * 2, kLargestZeroScanBytes);
    }
}

std::uint64_t RiffFile::NextHeader(std::uint64_t offset, FourCC id, std::uint32_t size) {
    if (id != 0 || size != 0) return offset + kChunkHeaderBytes + size + PadOf(size);
    // Zero bytes are a run of empty chunks with id 0, each 8 bytes on from
    // the last: the search lands where it would have stepping through them,
    // on the first header that holds a byte other than zero.
    const std::uint64_t nonZero = FirstNonZeroFrom(offset + kChunkHeaderBytes);
    return offset + (nonZero - offset) / kChunkHeaderBytes * kChunkHeaderBytes;
}

bool RiffFile::FindRiff(ChunkInfo& form, FourCC formType) {
    if (!IsOpen() || writing_) return false;
    std::uint64_t offset = position_;
    for (;;) {
        FourCC id = 0;
        std::uint32_t size = 0;
        if (!ReadHeaderAt(offset, id, size)) return false;
        // The form type is read whatever the declared size: a form too small
        // to hold it is still the form found, and holds no chunks.
        unsigned char type[kFormTypeBytes];
        if (id == kRiffId && Read(type, sizeof type) == static_cast<long long>(sizeof type) &&
            LoadLe32(type) == formType) {
            form = ChunkInfo{id, size, formType, offset + kChunkHeaderBytes, false};
            return true;
        }
        offset = NextHeader(offset, id, size);
    }
}

bool RiffFile::FindChunk(ChunkInfo& chunk, const ChunkInfo& parent, FourCC id) {
    if (!IsOpen() || writing_) return false;
    const std::uint64_t end = parent.End();
    std::uint64_t offset = std::max(position_, parent.dataOffset + kFormTypeBytes);
    while (offset + kChunkHeaderBytes <= end) {
        FourCC foundId = 0;
        std::uint32_t size = 0;
        if (!ReadHeaderAt(offset, foundId, size)) return false;
        if (foundId == id) {
            chunk = ChunkInfo{foundId, size, 0, offset + kChunkHeaderBytes, false};
            return true;
        }
        offset = NextHeader(offset, foundId, size);
    }
    return false;
}

bool RiffFile::Ascend(ChunkInfo& chunk) {
    if (!IsOpen()) return false;
    if (!writing_ || !chunk.created) {
        position_ = chunk.End() + PadOf(chunk.size);
        return true;
    }
    if (position_ < chunk.dataOffset) return false;
    const std::uint64_t length = position_ - chunk.dataOffset;
    if (length > UINT32_MAX) return false;  // a 32-bit size field cannot say it
    if (PadOf(length)) {
        const unsigned char pad = 0;
        if (Write(&pad, 1) != 1) return false;
    }
    unsigned char size[4];
    StoreLe32(size, static_cast<std::uint32_t>(length));
    if (fs_.WriteAt(handle_, size, sizeof size, chunk.dataOffset - 4) !=
        static_cast<long long>(sizeof size)) {
        return false;
    }
    chunk.size = static_cast<std::uint32_t>(length);
    chunk.created = false;
    return true;
}

bool RiffFile::CreateChunk(ChunkInfo& chunk, bool riffForm) {
    if (!IsOpen() || !writing_) return false;
    unsigned char header[kChunkHeaderBytes + kFormTypeBytes];
    std::size_t length = kChunkHeaderBytes;
    if (riffForm) {
        chunk.id = kRiffId;
        StoreLe32(header + 8, chunk.formType);
        length += kFormTypeBytes;
    }
    StoreLe32(header, chunk.id);
    StoreLe32(header + 4, chunk.size);
    const std::uint64_t start = position_;
    if (Write(header, length) != static_cast<long long>(length)) return false;
    chunk.dataOffset = start + kChunkHeaderBytes;
    chunk.created = true;
    return true;
}

long long RiffFile::Read(void* buffer, std::size_t count) {
    if (!IsOpen() || writing_) return -1;
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t moved = 0;
    while (moved < count) {
        const bool buffered = position_ >= bufferStart_ && position_ < bufferStart_ + bufferLength_;
        if (buffered) {
            const std::size_t from = static_cast<std::size_t>(position_ - bufferStart_);
            const std::size_t n = std::min(count - moved, bufferLength_ - from);
            std::memcpy(out + moved, buffer_.get() + from, n);
            moved += n;
            position_ += n;
            continue;
        }
        const std::size_t wanted = count - moved;
        if (wanted >= kReadAheadBytes) {
            // A large read gains nothing from the buffer: straight into the caller's.
            const long long n = fs_.ReadAt(handle_, out + moved, wanted, position_);
            if (n < 0) return -1;  // an error is never passed off as a short read
            if (n == 0) break;
            moved += static_cast<std::size_t>(n);
            position_ += static_cast<std::uint64_t>(n);
            continue;
        }
        const long long n = fs_.ReadAt(handle_, buffer_.get(), kReadAheadBytes, position_);
        if (n < 0) return -1;  // an error is never passed off as a short read
        bufferStart_ = position_;
        bufferLength_ = static_cast<std::size_t>(n);
        if (n == 0) break;
    }
    return static_cast<long long>(moved);
}

long long RiffFile::Write(const void* buffer, std::size_t count) {
    if (!IsOpen() || !writing_) return -1;
    const long long n = fs_.WriteAt(handle_, buffer, count, position_);
    if (n > 0) position_ += static_cast<std::uint64_t>(n);
    return n;
}

bool RiffFile::Close() {
    if (!IsOpen()) return true;
    const bool ok = fs_.Close(handle_);
    handle_ = FileSystem::kNoHandle;
    buffer_.reset();
    bufferLength_ = 0;
    return ok;
}

}  // namespace varnola
