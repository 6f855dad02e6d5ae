// SPDX-License-Identifier: MIT
#include "automation.h"

#include <deque>

#include "native_window.h"

namespace {

class Automation final : public AutomationSeam {
public:
    bool AnswerMessageBox(const CString& text, const CString& caption, UINT type,
                          int& result) override {
        if (!messageBox) return false;
        result = messageBox(text, caption, type);
        return true;
    }
    bool AnswerOpenFile(const OpenFileRequest& request, std::vector<std::string>& paths,
                        bool& chosen) override {
        if (!openFile) return false;
        chosen = openFile(request, paths);
        return true;
    }
    bool HasIdleTask() const override { return !idleTasks.empty(); }
    void RunIdleTask() override {
        auto task = std::move(idleTasks.front());
        idleTasks.pop_front();
        task();
    }

    platform_testing::MessageBoxResponder messageBox;
    platform_testing::OpenFileResponder openFile;
    std::deque<std::function<void()>> idleTasks;
};

// Installed by the first use of any seam, and for good: with nothing set it
// leaves everything to the system.
Automation& Installed() {
    static Automation* automation = [] {
        static Automation instance;
        InstallAutomation(&instance);
        return &instance;
    }();
    return *automation;
}

}  // namespace

void platform_testing::SetMessageBoxResponder(MessageBoxResponder responder) {
    Installed().messageBox = std::move(responder);
}

void platform_testing::SetOpenFileResponder(OpenFileResponder responder) {
    Installed().openFile = std::move(responder);
}

void platform_testing::RunWhenIdle(std::function<void()> task) {
    Installed().idleTasks.push_back(std::move(task));
}

void platform_testing::DropIdleTasks() { Installed().idleTasks.clear(); }
