// SPDX-License-Identifier: MIT
// A whole job in a child process that stops just before its nth file
// operation of a given kind and waits there until told to go on, so that
// tests can set two processes against each other, or signal one, at an
// exact moment rather than by timing.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "faulty_file_system.h"
#include "wave_normalizer.h"

namespace testing_support {

struct PausePoint {
    const char* call;  // an operation name as FaultyFileSystem logs it
    long nth;
};

enum class JobEnd { kSaved, kFailed, kUnity, kRejected, kSignalled };

class PausedJob {
public:
    PausedJob(const std::string& path, PausePoint point) {
        int paused[2], go[2];
        if (::pipe(paused) != 0 || ::pipe(go) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(paused[0]);
            ::close(go[1]);
            ::_exit(RunChild(path, point, paused[1], go[0]));
        }
        ::close(paused[1]);
        ::close(go[0]);
        pausedFd_ = paused[0];
        goFd_ = go[1];
    }
    ~PausedJob() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (pausedFd_ >= 0) ::close(pausedFd_);
        if (goFd_ >= 0) ::close(goFd_);
    }
    PausedJob(const PausedJob&) = delete;
    PausedJob& operator=(const PausedJob&) = delete;

    // True once the job waits at its point; false when it ended before.
    bool WaitUntilPaused() {
        char c = 0;
        paused_ = pid_ > 0 && ::read(pausedFd_, &c, 1) == 1;
        return paused_;
    }
    // Lets the job go on and waits for its end.
    JobEnd Finish() {
        // A byte rather than a close: a job forked later holds this pipe too.
        if (paused_) (void)!::write(goFd_, "g", 1);
        return Wait();
    }
    // Sends a signal (the job may be waiting at its point) and waits for its end.
    JobEnd Signal(int signal) {
        if (pid_ > 0) ::kill(pid_, signal);
        return Wait();
    }
    int TermSignal() const { return termSignal_; }

private:
    static int RunChild(const std::string& path, PausePoint point, int pausedFd, int goFd) {
        FaultyFileSystem fs;
        long seen = 0;
        fs.beforeCall = [&](const std::string& call) {
            if (call != point.call || ++seen != point.nth) return;
            (void)!::write(pausedFd, "p", 1);
            char c = 0;
            (void)!::read(goFd, &c, 1);
        };
        CProgressCtrl measure, save;
        CWaveNormalizer n(fs);
        if (!n.Open(path)) return static_cast<int>(JobEnd::kRejected);
        n.ComputeGain(measure);
        if (n.GetGain() == CWaveNormalizer::kUnityGain) return static_cast<int>(JobEnd::kUnity);
        return static_cast<int>(n.SaveNormalized(save) ? JobEnd::kSaved : JobEnd::kFailed);
    }

    JobEnd Wait() {
        int status = 0;
        if (ended_ || ::waitpid(pid_, &status, 0) != pid_) return JobEnd::kSignalled;
        ended_ = true;
        if (WIFSIGNALED(status)) {
            termSignal_ = WTERMSIG(status);
            return JobEnd::kSignalled;
        }
        return static_cast<JobEnd>(WEXITSTATUS(status));
    }

    pid_t pid_ = -1;
    int pausedFd_ = -1;
    int goFd_ = -1;
    bool paused_ = false;
    bool ended_ = false;
    int termSignal_ = 0;
};

}  // namespace testing_support
