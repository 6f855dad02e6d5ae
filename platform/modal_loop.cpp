// SPDX-License-Identifier: MIT
#include <vector>

#include "message_pump.h"
#include "native_window.h"

namespace {

struct RunningLoop {
    NativeWindow* window;
    const bool* ended;
    int pumpDepth;  // a loop opened from inside a long loop's dispatching starts deeper
};
std::vector<RunningLoop> runningLoops;

}  // namespace

void RunModalLoop(NativeWindow& window, const bool& ended) {
    runningLoops.push_back({&window, &ended, PumpDepth()});
    while (!ended) {
        ShowWaitingProgress();
        AutomationSeam* automation = InstalledAutomation();
        if (automation && automation->HasIdleTask() && runningLoops.back().window == &window &&
            window.RunWhenDrained()) {
            continue;
        }
        if (!window.DispatchNextMessage()) break;
    }
    runningLoops.pop_back();
    window.Hide();
}

bool RunIdleTaskFrom(NativeWindow& window) {
    AutomationSeam* automation = InstalledAutomation();
    if (!automation || !automation->HasIdleTask() || runningLoops.empty()) return false;
    const RunningLoop& innermost = runningLoops.back();
    if (innermost.window != &window || *innermost.ended || PumpDepth() != innermost.pumpDepth)
        return false;
    automation->RunIdleTask();
    return true;
}
