// SPDX-License-Identifier: MIT
// What the file layer does with what only POSIX systems have: modes,
// symbolic links, FIFOs and devices.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "reference_normalizer.h"
#include "run_job.h"
#include "temp_dir.h"
#include "wave_normalizer.h"

using namespace testing_support;

TEST(Reader, OnlyRegularFilesAreOpenedAndNothingBlocks) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.wav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CWaveNormalizer n;
    EXPECT_FALSE(n.Open(fifo));
    EXPECT_FALSE(n.Open(dir.Path()));
    EXPECT_FALSE(n.Open("/dev/zero"));
    EXPECT_FALSE(n.Open(dir.File("missing.wav")));
}

TEST(Save, PermissionsCarryOverToTheReplacement) {
    TempDir dir;
    const std::string path = dir.File("perm.wav");
    WriteFile(path, SimpleWave(Pcm(1, 16), Sine16(300, 700)));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(RunJob(path).saved);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(Save, LinkPlantedAtTheTemporaryNameIsNotFollowed) {
    TempDir dir;
    const std::string path = dir.File("a.wav");
    const std::string victim = dir.File("victim");
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(3000, 5000);
    WriteFile(path, SimpleWave(f, data));
    WriteFile(victim, Bytes{1, 2, 3});
    ASSERT_EQ(::symlink(victim.c_str(), (path + ".$$$").c_str()), 0);
    ASSERT_TRUE(RunJob(path).saved);
    EXPECT_EQ(ReadFile(victim), (Bytes{1, 2, 3}));
    EXPECT_EQ(ReadFile(path), ReferenceNormalize(f, data).output);
}

TEST(Save, SymbolicLinkSourceStaysALinkToTheNormalisedTarget) {
    TempDir dir;
    const std::string target = dir.File("real.wav");
    const std::string link = dir.File("link.wav");
    const Format f = Pcm(2, 16);
    const Bytes data = Sine16(4000, 3000);
    WriteFile(target, SimpleWave(f, data));
    ASSERT_EQ(::symlink("real.wav", link.c_str()), 0);
    ASSERT_TRUE(RunJob(link).saved);
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFile(target), ReferenceNormalize(f, data).output);
    EXPECT_FALSE(Exists(link + ".$$$"));
    EXPECT_FALSE(Exists(target + ".$$$"));
}
