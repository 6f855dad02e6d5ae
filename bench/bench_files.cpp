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

namespace bench {
namespace {

void Le16(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void Le32(unsigned char* p, std::uint32_t v) {
    Le16(p, v);
    Le16(p + 2, v >> 16);
}

bool WriteAll(int fd, const unsigned char* data, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, data, n);
        if (w <= 0) return false;
        data += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

}  // namespace

bool WriteTestWave(const std::string& path, const SampleLayout& layout, std::uint64_t dataBytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const std::uint32_t align = layout.channels * layout.bits / 8u;
    unsigned char header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                'f', 'm', 't', ' ', 16, 0, 0, 0};
    Le32(header + 4, static_cast<std::uint32_t>(36 + dataBytes));
    Le16(header + 20, 1);
    Le16(header + 22, layout.channels);
    Le32(header + 24, 44100);
    Le32(header + 28, 44100 * align);
    Le16(header + 32, align);
    Le16(header + 34, layout.bits);
    std::copy_n("data", 4, header + 36);
    Le32(header + 40, static_cast<std::uint32_t>(dataBytes));
    bool ok = WriteAll(fd, header, sizeof header);

    // A triangle wave at about a third of full scale.
    std::vector<unsigned char> block(1 << 20);
    std::uint32_t phase = 0;
    for (std::uint64_t left = dataBytes; ok && left > 0;) {
        for (std::size_t i = 0; i < block.size(); i += layout.bits / 8) {
            const int tri = static_cast<int>(phase++ % 200) - 100;  // -100..99
            if (layout.bits == 8) {
                block[i] = static_cast<unsigned char>(128 + tri * 40 / 100);
            } else {
                Le16(&block[i], static_cast<std::uint16_t>(static_cast<std::int16_t>(tri * 110)));
            }
        }
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        ok = WriteAll(fd, block.data(), n);
        left -= n;
    }
    return ::close(fd) == 0 && ok;
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
