// SPDX-License-Identifier: MIT
// The real program, start-up to exit, with steps that run one after another
// whenever its innermost loop is idle: what every dialog driver runs.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "automation.h"
#include "normalize_app.h"

namespace testing_support {

// Starts the program as `arg0`, runs the steps, and returns its exit status.
// The last step should close the dialog.
inline int RunProgramWithSteps(char* arg0, std::vector<std::function<void()>> steps) {
    // A step the program ended before (a fallback for a key that did not
    // work) is dropped with it, not run at the start of the next one.
    auto running = std::make_shared<bool>(true);
    for (auto& step : steps) {
        platform_testing::RunWhenIdle([running, step = std::move(step)] {
            if (*running) step();
        });
    }
    // Kept for the process's life: a toolkit may hold on to its arguments.
    static char* argv[] = {nullptr, nullptr};
    argv[0] = arg0;
    CNormalizeApp app;
    const int status = AfxWinMain(1, argv);
    *running = false;
    platform_testing::DropIdleTasks();
    return status;
}

}  // namespace testing_support
