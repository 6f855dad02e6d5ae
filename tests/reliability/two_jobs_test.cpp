// SPDX-License-Identifier: MIT
// Two processes normalising one file at once, each held still at a chosen
// moment of its save: a job that reports success has its own whole copy in
// place, with the file's permissions, and nothing is left beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "faulty_file_system.h"
#include "invariant.h"
#include "paused_job.h"

using namespace testing_support;

namespace {

struct Interleaving {
    const char* name;
    PausePoint first;   // where the first job waits while the second starts
    PausePoint second;  // where the second job would wait while the first ends
};

void PrintTo(const Interleaving& c, std::ostream* os) { *os << c.name; }

class TwoJobs : public ::testing::TestWithParam<Interleaving> {};

TEST_P(TwoJobs, OnlyAWholeCopyOfTheJobThatSucceedsIsEverInPlace) {
    TempDir dir;
    const std::string path = dir.File("shared.wav");
    const Format f = Pcm(2, 16);
    const Bytes data = Sine16(1u << 20, 9000);  // 2 MiB: over a hundred rewrite blocks
    const Bytes original = SimpleWave(f, data);
    const Bytes normalised = ReferenceNormalize(f, data).output;
    WriteFile(path, original);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    PausedJob first(path, GetParam().first);
    ASSERT_TRUE(first.WaitUntilPaused());
    PausedJob second(path, GetParam().second);
    const bool secondPaused = second.WaitUntilPaused();

    // The first job ends while the second is still at its point.
    const JobEnd firstEnd = first.Finish();
    if (firstEnd == JobEnd::kSaved) {
        EXPECT_EQ(ReadFile(path), normalised) << "the first job reported a torn file as saved";
    }
    const JobEnd secondEnd = second.Finish();
    EXPECT_TRUE(firstEnd == JobEnd::kSaved || secondEnd == JobEnd::kSaved);
    EXPECT_FALSE(secondPaused && secondEnd == JobEnd::kSaved && firstEnd == JobEnd::kSaved);

    EXPECT_EQ(ReadFile(path), normalised);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_FALSE(Exists(path + ".$$$"));
}

INSTANTIATE_TEST_SUITE_P(
    Moments, TwoJobs,
    ::testing::Values(Interleaving{"BothHalfWayThroughTheirCopies", {"write", 60}, {"write", 60}},
                      Interleaving{"FirstAboutToRenameSecondHalfWay", {"rename", 1}, {"write", 60}},
                      Interleaving{
                          "FirstHalfWaySecondAboutToRename", {"write", 60}, {"rename", 1}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
