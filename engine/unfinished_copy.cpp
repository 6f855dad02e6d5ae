// SPDX-License-Identifier: MIT
#include "unfinished_copy.h"

#if defined(_WIN32)

namespace varnola {

UnfinishedCopy::UnfinishedCopy(const std::string&) {}
void UnfinishedCopy::Keep() {}

}  // namespace varnola

#else

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace varnola {
namespace {

// The handler may only touch what is ready before it runs: a fixed buffer,
// and a lock-free flag saying whether the buffer names a copy.
char unfinishedPath[8192];
std::atomic<bool> armed{false};
static_assert(std::atomic<bool>::is_always_lock_free);

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void RemoveUnfinishedCopy(int signal) {
    const int savedErrno = errno;
    if (armed.load()) ::unlink(unfinishedPath);
    // SA_RESETHAND has put the default action back: the signal, raised again,
    // ends the process as it would have without this handler.
    ::raise(signal);
    errno = savedErrno;
}

void InstallHandlers() {
    for (const int signal : kStopSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
            (current.sa_flags & SA_SIGINFO)) {
            continue;
        }
        struct sigaction ours {};
        ours.sa_handler = RemoveUnfinishedCopy;
        ours.sa_flags = SA_RESETHAND;
        sigemptyset(&ours.sa_mask);
        ::sigaction(signal, &ours, nullptr);
    }
}

}  // namespace

UnfinishedCopy::UnfinishedCopy(const std::string& path) {
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
    armed.store(false);
    // A path too long for the buffer is too long for the system's calls too.
    if (path.size() >= sizeof unfinishedPath) return;
    std::memcpy(unfinishedPath, path.c_str(), path.size() + 1);
    armed.store(true);
}

void UnfinishedCopy::Keep() { armed.store(false); }

}  // namespace varnola

#endif
