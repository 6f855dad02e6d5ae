// SPDX-License-Identifier: MIT
// What the file layer does with what Windows has: folders and devices by
// name, files another program holds open, paths past MAX_PATH.
#include <windows.h>

#include <gtest/gtest.h>

#include "long_paths.h"
#include "reference_normalizer.h"
#include "run_job.h"
#include "temp_dir.h"
#include "wave_normalizer.h"

using namespace testing_support;

TEST(WindowsFiles, OnlyDiskFilesAreOpenedAndNothingBlocks) {
    TempDir dir;
    CWaveNormalizer n;
    EXPECT_FALSE(n.Open(dir.Path()));
    EXPECT_FALSE(n.Open("NUL"));
    EXPECT_FALSE(n.Open("CON"));
    EXPECT_FALSE(n.Open(dir.File("missing.wav")));
}

TEST(WindowsFiles, ReplacementTakesTheSourcesPlaceAndItsName) {
    TempDir dir;
    const std::string path = dir.File("Take 1.WAV");
    const Format f = Pcm(2, 16);
    const Bytes data = Sine16(8000, 2000);
    WriteFile(path, SimpleWave(f, data));
    ASSERT_TRUE(RunJob(path).saved);
    EXPECT_EQ(ReadFile(path), ReferenceNormalize(f, data).output);
    EXPECT_FALSE(Exists(path + ".$$$"));
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA(path.c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    ::FindClose(search);
    EXPECT_STREQ(found.cFileName, "Take 1.WAV");
}

TEST(WindowsFiles, SourceHeldOpenByAnotherProgramIsLeftAsItWas) {
    TempDir dir;
    const std::string path = dir.File("held.wav");
    const Bytes original = SimpleWave(Pcm(1, 16), Sine16(3000, 5000));
    WriteFile(path, original);
    // Another program reading it, sharing reading only: the move over it fails.
    HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const JobResult r = RunJob(path);
    ::CloseHandle(other);
    EXPECT_TRUE(r.opened);
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(ReadFile(path), original);
}

TEST(WindowsFiles, PathLongerThanMaxPathIsNormalisedInPlace) {
    TempDir dir;
    const std::string folder = MakeDeepFolder(dir.Path(), 300);
    ASSERT_FALSE(folder.empty());
    const std::string path = folder + "\\deep.wav";
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(3000, 4000);
    ASSERT_TRUE(WriteLongFile(path, SimpleWave(f, data)));
    const JobResult r = RunJob(path);
    EXPECT_TRUE(r.saved);
    EXPECT_EQ(ReadLongFile(path), ReferenceNormalize(f, data).output);
    EXPECT_FALSE(LongFileExists(path + ".$$$"));
}
