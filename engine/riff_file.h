// SPDX-License-Identifier: MIT
// Chunk-level access to a RIFF file: the few operations the wave reader and
// writer are built on (open, find a form or a chunk, ascend, create, read,
// write, close).
//
// Positions and chunk ends are 64-bit throughout, so a declared size near
// 4 GiB can never wrap a search backwards or into an endless loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "file_system.h"

namespace varnola {

using FourCC = std::uint32_t;

constexpr FourCC MakeFourCC(const char (&code)[5]) {
    return static_cast<FourCC>(static_cast<unsigned char>(code[0])) |
           static_cast<FourCC>(static_cast<unsigned char>(code[1])) << 8 |
           static_cast<FourCC>(static_cast<unsigned char>(code[2])) << 16 |
           static_cast<FourCC>(static_cast<unsigned char>(code[3])) << 24;
}

constexpr FourCC kRiffId = MakeFourCC("RIFF");

// A chunk's data is followed by one pad byte when its size is odd.
constexpr std::uint64_t PadOf(std::uint64_t size) { return size & 1; }

struct ChunkInfo {
    FourCC id = 0;
    std::uint32_t size = 0;        // bytes of data, never the header or the pad
    FourCC formType = 0;           // RIFF forms only
    std::uint64_t dataOffset = 0;  // first data byte (for a form, its form type)
    bool created = false;          // made by CreateChunk: ascending fixes its size

    std::uint64_t End() const { return dataOffset + size; }
};

class RiffFile {
public:
    explicit RiffFile(FileSystem& fs = SystemFileSystem());
    ~RiffFile();
    RiffFile(const RiffFile&) = delete;
    RiffFile& operator=(const RiffFile&) = delete;

    // Buffered reading of an existing regular file.
    bool OpenForReading(const std::string& path);
    // Unbuffered writing of a new file: whatever holds the name is removed
    // first, and a link planted there is never followed.
    bool OpenForWriting(const std::string& path);
    bool IsOpen() const { return handle_ != FileSystem::kNoHandle; }
    FileSystem::Handle Handle() const { return handle_; }

    // Searches from the current position to the end of the file for a
    // "RIFF" chunk of the given form type; on success the position is just
    // after the form type.
    bool FindRiff(ChunkInfo& form, FourCC formType);
    // Searches from the current position, skipping whole chunks with their
    // pad bytes, for `id` inside `parent`; on success the position is at the
    // found chunk's first data byte.
    bool FindChunk(ChunkInfo& chunk, const ChunkInfo& parent, FourCC id);
    // Reading: moves past the chunk's data and pad. Writing: writes the pad
    // byte when the data is odd and the real size into the header.
    bool Ascend(ChunkInfo& chunk);
    // Writes "RIFF", a placeholder size and the form type (riffForm), or the
    // chunk's id and its size as a placeholder.
    bool CreateChunk(ChunkInfo& chunk, bool riffForm);

    // Bytes moved, 0 at the end of the file, -1 on error.
    long long Read(void* buffer, std::size_t count);
    long long Write(const void* buffer, std::size_t count);

    bool Close();

private:
    bool ReadHeaderAt(std::uint64_t offset, FourCC& id, std::uint32_t& size);
    // Where a search goes on after the chunk header it read at `offset`.
    std::uint64_t NextHeader(std::uint64_t offset, FourCC id, std::uint32_t size);
    // The offset of the first byte from `at` on that is not zero, or the end.
    std::uint64_t FirstNonZeroFrom(std::uint64_t at);

    FileSystem& fs_;
    FileSystem::Handle handle_ = FileSystem::kNoHandle;
    bool writing_ = false;
    std::uint64_t position_ = 0;
    // Read-ahead: buffer_ holds the file's bytes from bufferStart_ on.
    std::unique_ptr<unsigned char[]> buffer_;
    std::uint64_t bufferStart_ = 0;
    std::size_t bufferLength_ = 0;
};

}  // namespace varnola
