// Dispatching the thread's pending messages from inside a long loop
// (PeekMessage with PM_REMOVE, TranslateMessage, DispatchMessage until the
// queue is empty), so that the window repaints and the user's commands run.
#pragma once

#include <functional>

// Dispatches every message waiting for this thread, then returns. With no
// event source installed it only runs the hook.
void PumpWaitingMessages();

// The GUI backend installs what actually dispatches; null uninstalls.
using MessageSource = void (*)();
void InstallMessageSource(MessageSource source);

// A test's stand-in for the user: runs at every pump, before dispatching.
void SetPumpHook(std::function<void()> hook);

// How deep the calls of PumpWaitingMessages are nested right now, so that a
// backend can tell a message dispatched from inside a long loop.
int PumpDepth();
