// SPDX-License-Identifier: MIT
// Files past MAX_PATH on Windows, made and read through the wide calls with
// the long form of their names, independently of the code under test.
#pragma once

#include <windows.h>

#include <string>

#include "wave_bytes.h"

namespace testing_support {

inline std::wstring LongForm(const std::string& path) {
    const std::string full = "\\\\?\\" + path;
    std::wstring wide(full.size(), L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, full.data(), static_cast<int>(full.size()),
                                        wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(n));
    return wide;
}

// Folders below `root` until the path is at least `length` bytes long.
inline std::string MakeDeepFolder(const std::string& root, std::size_t length) {
    std::string folder = root;
    while (folder.size() < length) {
        folder += "\\a-rather-long-folder-name";
        if (!::CreateDirectoryW(LongForm(folder).c_str(), nullptr)) return {};
    }
    return folder;
}

inline bool WriteLongFile(const std::string& path, const Bytes& bytes) {
    HANDLE file = ::CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    return ::CloseHandle(file) && ok;
}

inline Bytes ReadLongFile(const std::string& path) {
    HANDLE file = ::CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    Bytes bytes(::GetFileSize(file, nullptr));
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

inline bool LongFileExists(const std::string& path) {
    return ::GetFileAttributesW(LongForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace testing_support
