// SPDX-License-Identifier: MIT
// The per-file job as the dialog runs it, with real bars and the real pump.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Starts the program on Qt's offscreen platform and, from its dialog's loop,
// times `runs` rounds of ProcessFile(path) against `headless`, each after
// `prepare`. Returns the medians {dialog, headless}.
std::vector<double> TimeDialogJob(const std::string& path, int runs,
                                  const std::function<void()>& prepare,
                                  const std::function<bool()>& headless);

}  // namespace bench
