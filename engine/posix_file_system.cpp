// SPDX-License-Identifier: MIT
// FileSystem over POSIX calls.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "file_system.h"

namespace varnola {
namespace {

// The calls that fill a buffer of unknown size: asked for the size first,
// and again should the list grow in between.
bool ReadList(int fd, std::vector<char>& names) {
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0) return false;
        names.resize(static_cast<std::size_t>(size));
        const ssize_t n = ::flistxattr(fd, names.data(), names.size());
        if (n >= 0) {
            names.resize(static_cast<std::size_t>(n));
            return true;
        }
        if (errno != ERANGE) return false;
    }
}

bool ReadValue(int fd, const char* name, std::vector<char>& value) {
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name, nullptr, 0);
        if (size < 0) return false;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t n = ::fgetxattr(fd, name, value.data(), value.size());
        if (n >= 0) {
            value.resize(static_cast<std::size_t>(n));
            return true;
        }
        if (errno != ERANGE) return false;
    }
}

FileStatus FromStat(const struct stat& st) {
    FileStatus status;
    status.device = static_cast<std::uint64_t>(st.st_dev);
    status.inode = static_cast<std::uint64_t>(st.st_ino);
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.modifiedNs =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    status.permissions = static_cast<std::uint32_t>(st.st_mode & 07777);
    status.owner = static_cast<std::uint32_t>(st.st_uid);
    status.group = static_cast<std::uint32_t>(st.st_gid);
    status.regular = S_ISREG(st.st_mode);
    status.symlink = S_ISLNK(st.st_mode);
    return status;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

class PosixFileSystem final : public FileSystem {
public:
    Handle OpenForReading(const std::string& path) override {
        // O_NONBLOCK so that opening a FIFO with no writer returns at once;
        // it is then refused below as not a regular file.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) return kNoHandle;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return kNoHandle;
        }
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        return fd;
    }

    Handle CreateExclusive(const std::string& path) override {
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        return fd < 0 ? kNoHandle : fd;
    }

    long long ReadAt(Handle h, void* buffer, std::size_t count, std::uint64_t offset) override {
        if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return -1;
        for (;;) {
            const ssize_t n = ::pread(h, buffer, count, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            return n;
        }
    }

    long long WriteAt(Handle h, const void* buffer, std::size_t count,
                      std::uint64_t offset) override {
        if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return -1;
        for (;;) {
            const ssize_t n = ::pwrite(h, buffer, count, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            return n;
        }
    }

    std::uint64_t NextData(Handle h, std::uint64_t offset) override {
        if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return offset;
        const off_t next = ::lseek(static_cast<int>(h), static_cast<off_t>(offset), SEEK_DATA);
        if (next >= 0) return std::max(offset, static_cast<std::uint64_t>(next));
        struct stat st {};
        if (errno == ENXIO && ::fstat(static_cast<int>(h), &st) == 0) {
            return std::max(offset, static_cast<std::uint64_t>(st.st_size));  // a hole to the end
        }
        return offset;
    }

    bool Status(Handle h, FileStatus& status) override {
        struct stat st {};
        if (::fstat(h, &st) != 0) return false;
        status = FromStat(st);
        return true;
    }

    bool SetPermissions(Handle h, std::uint32_t permissions) override {
        return ::fchmod(h, static_cast<mode_t>(permissions)) == 0;
    }

    void SetOwner(Handle h, std::uint32_t owner, std::uint32_t group) override {
        // Only root may give a file away; a member of the group may still
        // give it the group.
        const int fd = static_cast<int>(h);
        if (::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(group)) != 0) {
            // Neither: the copy stays the process's own, as any new file would.
        }
    }

    bool CopyAttributes(Handle from, Handle to) override {
        std::vector<char> names;
        if (!ReadList(static_cast<int>(from), names)) return errno == ENOTSUP;
        std::vector<char> value;
        for (std::size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
            const char* name = &names[at];
            // Those the system keeps for itself (security.*), or that this
            // process may not see or set (trusted.*), are not the user's.
            const bool users = std::strncmp(name, "user.", 5) == 0 ||
                               std::strcmp(name, "system.posix_acl_access") == 0;
            if (!ReadValue(static_cast<int>(from), name, value)) {
                if (users) return false;
                continue;
            }
            if (::fsetxattr(static_cast<int>(to), name, value.data(), value.size(), 0) != 0 &&
                users) {
                return false;
            }
        }
        return true;
    }

    bool LockForSave(Handle h) override {
        // Advisory, on the open file: every job takes it, and a job that
        // dies drops it with its descriptors. Only "held by another" refuses;
        // a file system that has no such locks (ENOLCK, EINVAL) does not.
        for (;;) {
            if (::flock(static_cast<int>(h), LOCK_EX | LOCK_NB) == 0) return true;
            if (errno == EINTR) continue;
            return errno != EWOULDBLOCK;
        }
    }

    bool Flush(Handle h) override { return ::fsync(h) == 0; }

    bool Close(Handle h) override { return ::close(h) == 0; }

    bool PathStatus(const std::string& path, FileStatus& status) override {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) return false;
        status = FromStat(st);
        return true;
    }

    bool ResolveLinks(const std::string& path, std::string& resolved) override {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                         &std::free);
        if (!real) return false;
        resolved = real.get();
        return true;
    }

    bool CanWrite(const std::string& path) override { return ::access(path.c_str(), W_OK) == 0; }

    bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

    bool Replace(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0;
    }

    bool CanReplaceOpenFiles() const override { return true; }

    bool FlushFolderOf(const std::string& path) override {
        // A folder that may be written but not read cannot be opened to be
        // flushed, and a file system that does not flush folders says so
        // with EINVAL: neither is a flush that failed.
        const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return errno == EACCES;
        const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
        ::close(fd);
        return ok;
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem system;
    return system;
}

}  // namespace varnola
