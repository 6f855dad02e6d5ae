// SPDX-License-Identifier: MIT
// Dispatching the thread's pending messages from inside a long loop
// (PeekMessage with PM_REMOVE, TranslateMessage, DispatchMessage until the
// queue is empty), so that the window repaints and the user's commands run.
#pragma once

#include <functional>

// Dispatches every message waiting for this thread, then returns; a pump
// within a few milliseconds of the last dispatch leaves them waiting. With
// no event source installed it only runs the hook.
void PumpWaitingMessages();

// The GUI backend installs what actually dispatches; null uninstalls.
using MessageSource = void (*)();
void InstallMessageSource(MessageSource source);

// A test's stand-in for the user: runs at every pump, before dispatching.
void SetPumpHook(std::function<void()> hook);

namespace platform_testing {
// Makes every pump dispatch, so that a test's events posted from the pump
// hook are sure to be dispatched inside the loop.
void DispatchAtEveryPump(bool every);
}  // namespace platform_testing

// How deep the calls of PumpWaitingMessages are nested right now, so that a
// backend can tell a message dispatched from inside a long loop.
int PumpDepth();
