// SPDX-License-Identifier: MIT
// varnola-run FILE...: each file through the engine exactly as the dialog's
// per-file job drives it, headless, one line per file:
//   OUTCOME peak=P gain=G PATH
// where OUTCOME is rejected, unity, saved or failed.
#include <cstdio>

#include "progress_ctrl.h"
#include "wave_normalizer.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: varnola-run FILE...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        CProgressCtrl measureBar;
        CProgressCtrl saveBar;
        CWaveNormalizer normalizer;
        const char* outcome = "rejected";
        if (normalizer.Open(argv[i])) {
            normalizer.ComputeGain(measureBar);
            if (normalizer.GetGain() == CWaveNormalizer::kUnityGain) {
                outcome = "unity";
            } else {
                outcome = normalizer.SaveNormalized(saveBar) ? "saved" : "failed";
            }
        }
        std::printf("%s peak=%d gain=%d %s\n", outcome, normalizer.GetPeak(), normalizer.GetGain(),
                    argv[i]);
        std::fflush(stdout);
    }
    return 0;
}
