// SPDX-License-Identifier: MIT
#include <deque>

#include "native_window.h"
#include "testing.h"

namespace {

platform_testing::MessageBoxResponder messageBoxResponder;
platform_testing::OpenFileResponder openFileResponder;
std::deque<std::function<void()>> idleTasks;

}  // namespace

void platform_testing::SetMessageBoxResponder(MessageBoxResponder responder) {
    messageBoxResponder = std::move(responder);
}

void platform_testing::SetOpenFileResponder(OpenFileResponder responder) {
    openFileResponder = std::move(responder);
}

void platform_testing::RunWhenIdle(std::function<void()> task) { idleTasks.push_back(std::move(task)); }

bool HasIdleTask() { return !idleTasks.empty(); }

bool RunOneIdleTask() {
    if (idleTasks.empty()) return false;
    auto task = std::move(idleTasks.front());
    idleTasks.pop_front();
    task();
    return true;
}

int MessageBoxOwnedBy(NativeWindow* owner, const CString& text, const CString& caption, UINT type) {
    if (messageBoxResponder) return messageBoxResponder(text, caption, type);
    return backend::MessageBox(owner, text, caption, type);
}

#if !defined(_WIN32)
bool ChooseFilesOwnedBy(NativeWindow* owner, const OpenFileRequest& request,
                        std::vector<std::string>& paths) {
    if (openFileResponder) return openFileResponder(request, paths);
    return backend::ChooseFilesToOpen(owner, request, paths);
}
#endif
