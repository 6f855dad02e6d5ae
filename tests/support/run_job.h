// SPDX-License-Identifier: MIT
// The per-file job as the dialog drives the engine: Open, ComputeGain and,
// when the gain is not unity, SaveNormalized.
#pragma once

#include <string>

#include "wave_normalizer.h"

namespace testing_support {

struct JobResult {
    varnola::WaveCheck check = varnola::WaveCheck::kAccepted;
    bool opened = false;
    int gain = 1000;
    bool saved = false;
};

inline JobResult RunJob(const std::string& path, CProgressCtrl* measureBar = nullptr,
                        CProgressCtrl* saveBar = nullptr) {
    CProgressCtrl measure, save;
    CWaveNormalizer n;
    JobResult r;
    r.opened = n.Open(path);
    r.check = n.GetCheck();
    if (!r.opened) return r;
    n.ComputeGain(measureBar ? *measureBar : measure);
    r.gain = n.GetGain();
    if (r.gain != 1000) r.saved = n.SaveNormalized(saveBar ? *saveBar : save);
    return r;
}

}  // namespace testing_support
