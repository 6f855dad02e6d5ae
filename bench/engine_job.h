// SPDX-License-Identifier: MIT
// The engine's whole job for one file, with no window: what the benchmarks
// measure the other ways of running it against.
#pragma once

#include <string>

#include "progress_ctrl.h"
#include "wave_normalizer.h"

namespace bench {

// True when the file was rewritten.
inline bool EngineJob(const std::string& path) {
    CProgressCtrl measure, save;
    CWaveNormalizer normalizer;
    if (!normalizer.Open(path)) return false;
    normalizer.ComputeGain(measure);
    return normalizer.GetGain() != CWaveNormalizer::kUnityGain && normalizer.SaveNormalized(save);
}

}  // namespace bench
