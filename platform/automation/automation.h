// SPDX-License-Identifier: MIT
// Seams through which the tests, the benchmarks and the screenshot tools
// stand in for the user where the system would show something modal of its
// own: the message box and the open-file dialog. Each replaces the system
// while set; pass null to restore it. Linked by them alone, never by the
// program.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cstring.h"
#include "file_dialog.h"

namespace platform_testing {

using MessageBoxResponder =
    std::function<int(const CString& text, const CString& caption, UINT type)>;
void SetMessageBoxResponder(MessageBoxResponder responder);

using OpenFileResponder =
    std::function<bool(const OpenFileRequest& request, std::vector<std::string>& paths)>;
void SetOpenFileResponder(OpenFileResponder responder);

// Runs `task` from the top of the innermost modal loop once every message
// waiting before it was handled, never from inside a long loop's dispatching.
void RunWhenIdle(std::function<void()> task);

// Forgets the tasks still waiting, such as a fallback step a program ended
// before, so they do not run in the next program's loop.
void DropIdleTasks();

}  // namespace platform_testing
