// SPDX-License-Identifier: MIT
// varnola-dialog-bench.exe [MiB]: the whole job for one 16-bit stereo file
// (64 MiB of samples by default) through the Windows dialog, its bars and
// its pump, against the engine alone; the median of three runs of each,
// taking turns, in seconds; and how often the bars painted themselves per
// run through the dialog, a figure the machine's load does not sway.
#include "win_types.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "automation.h"
#include "normalize_app.h"
#include "normalize_dlg.h"
#include "resource_ids.h"
#include "run_job.h"
#include "wave_file_writer.h"

namespace {

// A 441 Hz stereo triangle at a quarter of full scale, so every run rewrites it.
bool WriteTake(const std::string& path, std::uint32_t dataBytes) {
    return wave_file::Write(path, {2, 16}, dataBytes, [](std::uint64_t n) {
        const int phase = static_cast<int>(n / 2 % 100);
        return (phase < 50 ? phase : 100 - phase) * 8192 / 50 - 4096;
    });
}

double Seconds() {
    LARGE_INTEGER now{}, frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Both bars are of one class, with one window procedure.
WNDPROC barProcedure = nullptr;
long barPaints = 0;

LRESULT CALLBACK CountingBarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++barPaints;
    return ::CallWindowProcA(barProcedure, bar, message, wParam, lParam);
}

void CountBarPaints(HWND dialog) {
    for (int id : {IDC_MEASURE_PROGRESS, IDC_SAVE_PROGRESS}) {
        barProcedure = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(::GetDlgItem(dialog, id), GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(&CountingBarProcedure)));
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const unsigned long mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    if (mib == 0 || mib > 2000) {
        std::fprintf(stderr, "usage: varnola-dialog-bench [MiB, 1..2000]\n");
        return 2;
    }
    char folder[MAX_PATH] = {};
    ::GetTempPathA(sizeof folder, folder);
    const std::string master = std::string(folder) + "varnola-bench-master.wav";
    const std::string work = std::string(folder) + "varnola-bench-work.wav";
    if (!WriteTake(master, static_cast<std::uint32_t>(mib << 20))) {
        std::fprintf(stderr, "cannot write %s\n", master.c_str());
        return 1;
    }
    std::vector<double> dialog, engine;
    bool ok = true;
    platform_testing::RunWhenIdle([&] {
        auto* window = static_cast<CNormalizeDlg*>(AfxGetApp()->m_pMainWnd);
        CountBarPaints(::FindWindowA("#32770", "Varnola"));
        for (int run = 0; run < 3 && ok; ++run) {
            ok = ::CopyFileA(master.c_str(), work.c_str(), FALSE) != FALSE;
            double start = Seconds();
            window->ProcessFile(work.c_str());
            dialog.push_back(Seconds() - start);
            ok = ok && ::CopyFileA(master.c_str(), work.c_str(), FALSE) != FALSE;
            start = Seconds();
            ok = ok && testing_support::RunJob(work).saved;
            engine.push_back(Seconds() - start);
        }
        window->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    });
    CNormalizeApp app;
    AfxWinMain(argc, argv);
    ::DeleteFileA(master.c_str());
    ::DeleteFileA(work.c_str());
    if (!ok || dialog.empty()) {
        std::fprintf(stderr, "a benchmark job failed\n");
        return 1;
    }
    const double throughDialog = Median(dialog);
    const double alone = Median(engine);
    std::printf(
        "%lu MiB 16-bit stereo: through the dialog %.3f s, engine alone %.3f s, ratio %.2f;"
        " the bars painted %ld times a run\n",
        mib, throughDialog, alone, throughDialog / alone,
        barPaints / static_cast<long>(dialog.size()));
    return 0;
}
