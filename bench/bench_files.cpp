// SPDX-License-Identifier: MIT
#include "bench_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "wave_file_writer.h"

namespace bench {
namespace {}  // namespace

bool WriteTestWave(const std::string& path, const SampleLayout& layout, std::uint64_t dataBytes) {
    // A triangle wave at about a third of full scale.
    return wave_file::Write(path, {layout.channels, layout.bits}, dataBytes, [&](std::uint64_t n) {
        const int tri = static_cast<int>(n % 200) - 100;  // -100..99
        return layout.bits == 8 ? 128 + tri * 40 / 100 : tri * 110;
    });
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
}

bool IoFloor(const std::string& path) {
    // The same offsets as the engine: the samples start after the 44-byte
    // header, and the new file gets a 44-byte header before them.
    constexpr off_t kHeaderBytes = 44;
    std::vector<unsigned char> buffer(16384);
    const int in = ::open(path.c_str(), O_RDONLY);
    if (in < 0) return false;
    ::lseek(in, kHeaderBytes, SEEK_SET);
    while (::read(in, buffer.data(), 4096) > 0) {
    }
    ::lseek(in, 0, SEEK_SET);
    const std::string temporary = path + ".$$$";
    const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    bool ok = out >= 0 && ::read(in, buffer.data(), kHeaderBytes) == kHeaderBytes &&
              ::write(out, buffer.data(), kHeaderBytes) == kHeaderBytes;
    ssize_t n = 0;
    while (ok && (n = ::read(in, buffer.data(), buffer.size())) > 0) {
        ok = ::write(out, buffer.data(), static_cast<std::size_t>(n)) == n;
    }
    ::close(in);
    ok = ok && ::fsync(out) == 0;
    if (out >= 0) ::close(out);
    return ok && ::rename(temporary.c_str(), path.c_str()) == 0;
}

std::vector<double> MedianSeconds(int runs, const std::function<void()>& prepare,
                                  const std::vector<std::function<bool()>>& jobs) {
    std::vector<std::vector<double>> seconds(jobs.size());
    for (int i = 0; i < runs; ++i) {
        for (std::size_t j = 0; j < jobs.size(); ++j) {
            prepare();
            const auto start = std::chrono::steady_clock::now();
            if (!jobs[j]()) {
                std::fprintf(stderr, "benchmark job failed\n");
                std::exit(1);
            }
            seconds[j].push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::vector<double> medians;
    for (auto& s : seconds) {
        std::sort(s.begin(), s.end());
        medians.push_back(s[s.size() / 2]);
    }
    return medians;
}

std::string MakeTempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/var/tmp") + "/varnola-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

void RemoveTree(const std::string& dir) {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

}  // namespace bench
