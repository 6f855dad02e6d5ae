// SPDX-License-Identifier: MIT
// A job killed outright (SIGKILL, no cleanup) at moments spread over the
// scan and the rewrite: the file is always the original or the complete
// normalised output.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "faulty_file_system.h"
#include "invariant.h"
#include "wave_normalizer.h"

using namespace testing_support;

namespace {

// The job in a child process that kills itself at its `killAt`-th file
// operation; returns how many operations a whole job makes when killAt is 0.
long RunChild(const std::string& path, long killAt) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        FaultyFileSystem fs;
        fs.beforeCall = [&](const std::string&) {
            if (killAt > 0 && fs.Calls() == killAt) ::kill(::getpid(), SIGKILL);
        };
        CProgressCtrl measure, save;
        CWaveNormalizer n(fs);
        if (n.Open(path)) {
            n.ComputeGain(measure);
            if (n.GetGain() != 1000) n.SaveNormalized(save);
        }
        const long calls = fs.Calls();
        (void)!::write(pipeEnds[1], &calls, sizeof calls);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    long calls = -1;
    if (::read(pipeEnds[0], &calls, sizeof calls) != sizeof calls) calls = -1;
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return calls;
}

TEST(Killed, AtFortyEightMomentsTheFileIsWholeOldOrWholeNew) {
    TempDir dir;
    const std::string path = dir.File("big.wav");
    const Format f = Pcm(2, 16);
    const Bytes data = Sine16(32u << 20, 9000);  // 64 MiB of samples
    const Bytes original = SimpleWave(f, data);
    const Bytes normalised = ReferenceNormalize(f, data).output;

    WriteFile(path, original);
    const long total = RunChild(path, 0);
    ASSERT_GT(total, 1000);
    ASSERT_EQ(ReadFile(path), normalised);

    int kills = 0;
    for (int i = 1; i <= 48; ++i) {
        WriteFile(path, original);
        ::unlink((path + ".$$$").c_str());
        const long at = total * i / 49;
        EXPECT_EQ(RunChild(path, at), -1) << "the child was not killed at " << at;
        const Bytes now = ReadFile(path);
        EXPECT_TRUE(now == original || now == normalised) << "killed at operation " << at;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            EXPECT_TRUE(entry.path() == path || entry.path() == path + ".$$$") << entry.path();
        }
        ++kills;
    }
    EXPECT_EQ(kills, 48);
}

}  // namespace
