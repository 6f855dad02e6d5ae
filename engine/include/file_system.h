// SPDX-License-Identifier: MIT
// The narrow door through which the engine touches the disk.
//
// Every system call the chunk I/O and the replace make goes through one
// FileSystem, so a test or the fuzzer can count, fail or shorten any single
// operation and watch the order in which they happen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace varnola {

// What the engine needs to know of a file, whatever the platform calls it.
struct FileStatus {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint32_t permissions = 0;  // the rwx bits for user, group, others, and set-id
    std::uint32_t owner = 0;        // user and group ids where the system has them
    std::uint32_t group = 0;
    bool regular = false;
    bool symlink = false;

    bool SameFile(const FileStatus& other) const {
        return device == other.device && inode == other.inode;
    }
    bool SameFileAndContent(const FileStatus& other) const {
        return SameFile(other) && size == other.size && modifiedNs == other.modifiedNs;
    }
};

class FileSystem {
public:
    using Handle = std::intptr_t;  // a descriptor, or a system handle on Windows
    static constexpr Handle kNoHandle = -1;

    virtual ~FileSystem() = default;

    // Opens an existing regular file for reading. Never blocks on a FIFO or a
    // device: anything but a regular file fails.
    virtual Handle OpenForReading(const std::string& path) = 0;
    // Creates a new file for writing, failing when anything (even a dangling
    // symbolic link) already holds the name.
    virtual Handle CreateExclusive(const std::string& path) = 0;
    // Both return bytes moved, 0 at the end of the file, -1 on error.
    virtual long long ReadAt(Handle h, void* buffer, std::size_t count, std::uint64_t offset) = 0;
    virtual long long WriteAt(Handle h, const void* buffer, std::size_t count,
                              std::uint64_t offset) = 0;
    // The first offset from `offset` on that may hold data other than a
    // hole's zeros: the file's size past its last data, `offset` itself
    // when the system cannot tell.
    virtual std::uint64_t NextData(Handle h, std::uint64_t offset) = 0;
    virtual bool Status(Handle h, FileStatus& status) = 0;
    virtual bool SetPermissions(Handle h, std::uint32_t permissions) = 0;
    // As far as this process may: the owner, else the group alone. What the
    // file ends up with is for Status to say.
    virtual void SetOwner(Handle h, std::uint32_t owner, std::uint32_t group) = 0;
    // The user's extended attributes and access list (and on Windows the
    // file's attributes and creation time) of `from`, put on `to`.
    virtual bool CopyAttributes(Handle from, Handle to) = 0;
    // The lock every job takes on its source before it writes a copy, held
    // until the handle closes. False at once when another job holds it; a
    // file system without locks lets every job through.
    virtual bool LockForSave(Handle h) = 0;
    virtual bool Flush(Handle h) = 0;  // to the disk, not just the cache
    virtual bool Close(Handle h) = 0;

    // By name. PathStatus does not follow a final symbolic link.
    virtual bool PathStatus(const std::string& path, FileStatus& status) = 0;
    virtual bool ResolveLinks(const std::string& path, std::string& resolved) = 0;
    virtual bool CanWrite(const std::string& path) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Puts `from` in the place of `to` in one step, replacing what is there.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    // Whether Replace works while the replaced file is open here.
    virtual bool CanReplaceOpenFiles() const = 0;
    // Makes a completed rename in the folder of `path` durable.
    virtual bool FlushFolderOf(const std::string& path) = 0;
};

// The real one, over the system's calls.
FileSystem& SystemFileSystem();

}  // namespace varnola
