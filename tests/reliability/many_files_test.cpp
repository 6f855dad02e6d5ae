// SPDX-License-Identifier: MIT
// One long drop's worth of files in one process: every file gets its
// outcome, and memory does not grow from file to file.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "invariant.h"
#include "wave_normalizer.h"

using namespace testing_support;

namespace {

long PeakRssKb() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(ManyFiles, TwoThousandFilesEachGetTheirOutcomeInFlatMemory) {
    TempDir dir;
    const Format f = Pcm(1, 16);
    long rssAt200 = 0;
    int saved = 0, unity = 0, rejected = 0;
    for (int i = 0; i < 2000; ++i) {
        std::string name = std::to_string(i);
        name += ".wav";
        const std::string path = dir.File(name);
        // Every tenth is not a wave file, every seventh already at full scale.
        if (i % 10 == 0) {
            WriteFile(path, Bytes(64, 'x'));
        } else {
            WriteFile(path, SimpleWave(f, Sine16(2000, i % 7 == 0 ? 32767 : 1000 + i)));
        }
        CProgressCtrl measure, save;
        CWaveNormalizer n;
        if (!n.Open(path)) {
            ++rejected;
        } else {
            n.ComputeGain(measure);
            if (n.GetGain() == 1000) {
                ++unity;
            } else {
                saved += n.SaveNormalized(save) ? 1 : 0;
            }
        }
        if (i == 199) rssAt200 = PeakRssKb();
    }
    EXPECT_EQ(rejected, 200);
    EXPECT_EQ(rejected + unity + saved, 2000);
    const long rssAt2000 = PeakRssKb();
    RecordProperty("peak_rss_kb_200", std::to_string(rssAt200));
    RecordProperty("peak_rss_kb_2000", std::to_string(rssAt2000));
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed memory in quarantine: RSS says nothing there.
    return;
#endif
    EXPECT_LT(rssAt2000 - rssAt200, 8 * 1024)
        << "peak RSS grew from " << rssAt200 << " kB to " << rssAt2000 << " kB";
}

}  // namespace
