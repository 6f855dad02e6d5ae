// SPDX-License-Identifier: MIT
// A private folder per test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "wave_bytes.h"

namespace testing_support {

class TempDir {
public:
    TempDir() {
        namespace fs = std::filesystem;
        // A name nobody else holds: create_directory fails on one that exists.
        std::random_device random;
        for (;;) {
            const fs::path candidate =
                fs::temp_directory_path() / ("varnola-test-" + std::to_string(random()));
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) {
                path_ = candidate.string();
                break;
            }
            if (ec) std::abort();
        }
    }
    ~TempDir() {
        namespace fs = std::filesystem;
#if defined(_WIN32)
        // The long form reaches files past MAX_PATH too.
        const fs::path root = "\\\\?\\" + path_;
#else
        const fs::path root = path_;
#endif
        std::error_code ec;
        // Give back write permission first, so read-only leftovers go too.
        for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end;
             it.increment(ec)) {
            std::error_code ignored;
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(root, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return path_ + kSeparator + name; }
    const std::string& Path() const { return path_; }

private:
#if defined(_WIN32)
    static constexpr char kSeparator = '\\';
#else
    static constexpr char kSeparator = '/';
#endif
    std::string path_;
};

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() !=
               std::filesystem::file_type::not_found &&
           !ec;
}

}  // namespace testing_support
