// SPDX-License-Identifier: MIT
// FileSystem over the Win32 file calls, for the ANSI paths the rest of the
// program uses.
//
// The replace is the system's one-step move: the copy is flushed first, a
// read-only source is refused before anything moves (the system would not
// let it be deleted), and MoveFileEx with write-through puts the copy in the
// source's place. The copy carries the source's attributes, creation time
// and access list; its alternate data streams are not carried over.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <aclapi.h>

#include <algorithm>

#include "file_system.h"

namespace varnola {
namespace {

HANDLE ToSystem(FileSystem::Handle h) { return reinterpret_cast<HANDLE>(h); }
FileSystem::Handle FromSystem(HANDLE h) {
    return h == INVALID_HANDLE_VALUE ? FileSystem::kNoHandle
                                     : reinterpret_cast<FileSystem::Handle>(h);
}

std::int64_t Nanoseconds(const FILETIME& time) {
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<std::int64_t>(ticks) * 100;  // 100 ns ticks since 1601
}

FileStatus FromInformation(const BY_HANDLE_FILE_INFORMATION& info) {
    FileStatus status;
    status.device = info.dwVolumeSerialNumber;
    status.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    status.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status.modifiedNs = Nanoseconds(info.ftLastWriteTime);
    // The read-only attribute is all the system keeps of permissions.
    status.permissions = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    status.regular =
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
    status.symlink = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return status;
}

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The program's paths are in the ANSI code page, and the ANSI calls take
// them only up to MAX_PATH. A longer full path (a file deep in a folder
// tree, dropped from the shell) reaches the file in the wide form with the
// \\?\ prefix, so every path is handed over wide, converted exactly as the
// ANSI calls would convert it.
std::wstring SystemPath(const std::string& path) {
    const int length = static_cast<int>(path.size());
    std::wstring wide(
        static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, path.data(), length, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path.data(), length, wide.data(),
                          static_cast<int>(wide.size()));
    if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0 || wide.rfind(L"\\\\.\\", 0) == 0)
        return wide;
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
    if (wide.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
    return wide;
}

// Back to the program's code page; false when a character has no form there.
bool AnsiPath(const std::wstring& wide, std::string& path) {
    const int length = static_cast<int>(wide.size());
    // UTF-8 has a form for every character: the system refuses a best-fit
    // flag or a loss report for it, and only a lone surrogate fails.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr,
                                        utf8 ? nullptr : &lossy);
    if (n <= 0 || lossy) return false;
    path.assign(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, path.data(), n, nullptr, nullptr);
    return true;
}

class Win32FileSystem final : public FileSystem {
public:
    Handle OpenForReading(const std::string& path) override {
        // A folder does not open without backup semantics; a device or a
        // pipe opens, and is refused here.
        HANDLE h = ::CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) return kNoHandle;
        if (::GetFileType(h) != FILE_TYPE_DISK) {
            ::CloseHandle(h);
            return kNoHandle;
        }
        return FromSystem(h);
    }

    Handle CreateExclusive(const std::string& path) override {
        // WRITE_DAC: the copy takes the source's access list.
        return FromSystem(::CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE | WRITE_DAC, 0,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    }

    long long ReadAt(Handle h, void* buffer, std::size_t count, std::uint64_t offset) override {
        OVERLAPPED at = At(offset);
        DWORD moved = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count, 0x40000000));
        if (!::ReadFile(ToSystem(h), buffer, wanted, &moved, &at)) {
            return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
        }
        return moved;
    }

    long long WriteAt(Handle h, const void* buffer, std::size_t count,
                      std::uint64_t offset) override {
        OVERLAPPED at = At(offset);
        DWORD moved = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count, 0x40000000));
        if (!::WriteFile(ToSystem(h), buffer, wanted, &moved, &at)) return -1;
        return moved;
    }

    // Holes are read through as zeros: the search skips them in large reads.
    std::uint64_t NextData(Handle, std::uint64_t offset) override { return offset; }

    bool Status(Handle h, FileStatus& status) override {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(ToSystem(h), &info)) return false;
        status = FromInformation(info);
        return true;
    }

    // The copy stays writable: a read-only source is never replaced, and a
    // copy left beside it must stay removable by the next attempt.
    bool SetPermissions(Handle, std::uint32_t) override { return true; }

    // Owners are a matter of the security descriptor, kept with the rest.
    void SetOwner(Handle, std::uint32_t, std::uint32_t) override {}

    bool CopyAttributes(Handle from, Handle to) override {
        // The attributes a user sets (hidden, system, archive, not indexed)
        // and the creation time; the times left at zero are not changed.
        FILE_BASIC_INFO basic{};
        if (!::GetFileInformationByHandleEx(ToSystem(from), FileBasicInfo, &basic, sizeof basic)) {
            return false;
        }
        FILE_BASIC_INFO kept{};
        kept.CreationTime = basic.CreationTime;
        kept.FileAttributes = basic.FileAttributes & kKeptAttributes;
        if (kept.FileAttributes == 0) kept.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (!::SetFileInformationByHandle(ToSystem(to), FileBasicInfo, &kept, sizeof kept)) {
            return false;
        }
        // Who may do what with the file: its own access list, not the one
        // the copy took from the folder.
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (::GetSecurityInfo(ToSystem(from), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
            return false;
        }
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        ::GetSecurityDescriptorControl(descriptor, &control, &revision);
        const SECURITY_INFORMATION which =
            DACL_SECURITY_INFORMATION |
            ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                           : UNPROTECTED_DACL_SECURITY_INFORMATION);
        const DWORD set =
            ::SetSecurityInfo(ToSystem(to), SE_FILE_OBJECT, which, nullptr, nullptr, dacl, nullptr);
        ::LocalFree(descriptor);
        return set == ERROR_SUCCESS;
    }

    bool LockForSave(Handle h) override {
        // A byte far past any data: locked ranges are mandatory on Windows,
        // and a lock there keeps nobody from reading the samples.
        OVERLAPPED at = At(0xFFFFFFFFFFFFFFFEull);
        if (::LockFileEx(ToSystem(h), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                         &at)) {
            return true;
        }
        return ::GetLastError() != ERROR_LOCK_VIOLATION;
    }

    bool Flush(Handle h) override { return ::FlushFileBuffers(ToSystem(h)) != FALSE; }

    bool Close(Handle h) override { return ::CloseHandle(ToSystem(h)) != FALSE; }

    bool PathStatus(const std::string& path, FileStatus& status) override {
        // Opened for its attributes only, sharing everything, the link itself
        // rather than what it points to.
        HANDLE h = ::CreateFileW(
            SystemPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        BY_HANDLE_FILE_INFORMATION info{};
        const bool ok = ::GetFileInformationByHandle(h, &info) != FALSE;
        ::CloseHandle(h);
        if (ok) status = FromInformation(info);
        return ok;
    }

    bool ResolveLinks(const std::string& path, std::string& resolved) override {
        HANDLE h = ::CreateFileW(SystemPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        std::wstring buffer(32768, L'\0');
        const DWORD n = ::GetFinalPathNameByHandleW(
            h, buffer.data(), static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED);
        ::CloseHandle(h);
        if (n == 0 || n >= buffer.size()) return false;
        buffer.resize(n);
        if (!AnsiPath(buffer, resolved)) return false;
        // The final path comes in the \\?\ form; the program's paths do not.
        if (resolved.rfind("\\\\?\\UNC\\", 0) == 0) {
            resolved = "\\\\" + resolved.substr(8);
        } else if (resolved.rfind("\\\\?\\", 0) == 0) {
            resolved = resolved.substr(4);
        }
        return true;
    }

    bool CanWrite(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesW(SystemPath(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) == 0;
    }

    bool Remove(const std::string& path) override {
        return ::DeleteFileW(SystemPath(path).c_str()) != FALSE;
    }

    bool Replace(const std::string& from, const std::string& to) override {
        return ::MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }

    // The system refuses to move a file over one that is open without
    // delete sharing, as the source is.
    bool CanReplaceOpenFiles() const override { return false; }

    // MOVEFILE_WRITE_THROUGH returns only once the move is on the disk.
    bool FlushFolderOf(const std::string&) override { return true; }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static Win32FileSystem system;
    return system;
}

}  // namespace varnola
