// SPDX-License-Identifier: MIT
// A job asked to stop (a terminal's interrupt, a logout's hangup, a plain
// kill) ends at once by that signal, removes the copy it had not finished
// and leaves the file as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include "invariant.h"
#include "paused_job.h"

using namespace testing_support;

namespace {

struct Stop {
    const char* name;
    int signal;
    PausePoint at;
};

void PrintTo(const Stop& c, std::ostream* os) { *os << c.name; }

class StopSignal : public ::testing::TestWithParam<Stop> {};

TEST_P(StopSignal, RemovesTheUnfinishedCopyAndEndsByTheSignal) {
    TempDir dir;
    const std::string path = dir.File("stopped.wav");
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(1u << 19, 9000);  // 1 MiB
    const Bytes original = SimpleWave(f, data);
    WriteFile(path, original);

    PausedJob job(path, GetParam().at);
    ASSERT_TRUE(job.WaitUntilPaused());
    ASSERT_TRUE(Exists(path + ".$$$"));
    EXPECT_EQ(job.Signal(GetParam().signal), JobEnd::kSignalled);
    EXPECT_EQ(job.TermSignal(), GetParam().signal);
    ExpectIntactOrReplaced(path, original, ReferenceNormalize(f, data).output, false, dir.Path());
    EXPECT_FALSE(Exists(path + ".$$$"));
}

INSTANTIATE_TEST_SUITE_P(
    Signals, StopSignal,
    ::testing::Values(Stop{"TermHalfWayThroughTheCopy", SIGTERM, {"write", 30}},
                      Stop{"InterruptHalfWayThroughTheCopy", SIGINT, {"write", 30}},
                      Stop{"HangupHalfWayThroughTheCopy", SIGHUP, {"write", 30}},
                      Stop{"TermWithTheCopyWrittenNotFlushed", SIGTERM, {"fsync", 1}},
                      Stop{"HangupJustAfterTheCopyWasCreated", SIGHUP, {"fstat", 3}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
