// SPDX-License-Identifier: MIT
// Test files for the benchmarks, written at a low level, and the timing helpers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct SampleLayout {
    const char* name;
    std::uint16_t channels;
    std::uint16_t bits;
};

// Writes a wave file of `dataBytes` sample bytes whose peak sits well below full scale.
bool WriteTestWave(const std::string& path, const SampleLayout& layout, std::uint64_t dataBytes);
bool CopyFile(const std::string& from, const std::string& to);
// The same access pattern as the engine with no processing: the data read in
// 4096-byte blocks, then the header and the data read in 16384-byte blocks
// and written to a new file at the same offsets, flushed, renamed over the source.
bool IoFloor(const std::string& path);

// Median wall-clock seconds of each job over `runs` rounds; within a round
// the jobs take turns, each after `prepare`, so drift in the machine's state
// (cache, writeback) falls on all of them alike.
std::vector<double> MedianSeconds(int runs, const std::function<void()>& prepare,
                                  const std::vector<std::function<bool()>>& jobs);

std::string MakeTempDir();
void RemoveTree(const std::string& dir);

}  // namespace bench
