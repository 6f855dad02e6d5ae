// SPDX-License-Identifier: MIT
#include "dialog_job.h"

#include <cstdlib>
#include <utility>

#include "automation.h"
#include "bench_files.h"
#include "normalize_app.h"
#include "normalize_dlg.h"

namespace bench {

std::vector<double> TimeDialogJob(const std::string& path, int runs,
                                  const std::function<void()>& prepare,
                                  const std::function<bool()>& headless) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::vector<double> medians;
    platform_testing::RunWhenIdle([&] {
        auto* dialog = static_cast<CNormalizeDlg*>(AfxGetApp()->m_pMainWnd);
        medians = MedianSeconds(runs, prepare, {headless, [&] {
                                                    dialog->ProcessFile(path.c_str());
                                                    return true;
                                                }});
        std::swap(medians[0], medians[1]);
        dialog->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    });
    static char name[] = "varnola";
    char* args[] = {name, nullptr};
    int count = 1;
    CNormalizeApp app;
    AfxWinMain(count, args);
    return medians;
}

}  // namespace bench
