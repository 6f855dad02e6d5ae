// SPDX-License-Identifier: MIT
#include "message_pump.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// The long loops pump after every block, tens of thousands of times a
// second, and each dispatch repaints what the blocks moved. Dispatching
// once the last dispatch is a few milliseconds old keeps the window as
// lively as the eye can tell and the bars moving, at next to no cost.
constexpr auto kDispatchInterval = std::chrono::milliseconds(4);

MessageSource installedSource = nullptr;
std::function<void()> pumpHook;
int depth = 0;
bool dispatchAtEveryPump = false;

bool DispatchIsDue() {
    static Clock::time_point last;
    const Clock::time_point now = Clock::now();
    if (!dispatchAtEveryPump && now - last < kDispatchInterval) return false;
    last = now;
    return true;
}

}  // namespace

void PumpWaitingMessages() {
    ++depth;
    if (pumpHook) pumpHook();
    if (installedSource && DispatchIsDue()) installedSource();
    --depth;
}

void InstallMessageSource(MessageSource source) { installedSource = source; }

void SetPumpHook(std::function<void()> hook) { pumpHook = std::move(hook); }

int PumpDepth() { return depth; }

void platform_testing::DispatchAtEveryPump(bool every) { dispatchAtEveryPump = every; }
