// SPDX-License-Identifier: MIT
// varnola-bench [--mib N] [--runs R]: the engine's whole job against the I/O
// floor of the same access pattern, in MB/s of sample data.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench_files.h"
#ifdef VARNOLA_BENCH_DIALOG
#include "dialog_job.h"
#endif
#include "run_job.h"

int main(int argc, char** argv) {
    unsigned long mib = 256;
    int runs = 7;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--mib") && i + 1 < argc) {
            mib = std::strtoul(argv[++i], nullptr, 10);
        } else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: varnola-bench [--mib N] [--runs R]\n");
            return 2;
        }
    }
    if (mib == 0 || mib > 4000 || runs < 1) {
        std::fprintf(stderr, "varnola-bench: --mib takes 1..4000, --runs at least 1\n");
        return 2;
    }
    const std::uint64_t bytes = static_cast<std::uint64_t>(mib) << 20;
    const std::string dir = bench::MakeTempDir();
    std::printf("%lu MiB of sample data, median of %d warm-cache runs\n", mib, runs);
    std::printf("%-18s %12s %12s %8s\n", "file", "floor MB/s", "engine MB/s", "ratio");
    const bench::SampleLayout layouts[] = {{"16-bit stereo", 2, 16}, {"8-bit mono", 1, 8}};
    for (const auto& layout : layouts) {
        const std::string master = dir + "/master.wav";
        const std::string work = dir + "/work.wav";
        if (!bench::WriteTestWave(master, layout, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", master.c_str());
            return 1;
        }
        const auto fresh = [&] { bench::CopyFile(master, work); };
        const auto medians =
            bench::MedianSeconds(runs, fresh,
                                 {[&] { return bench::IoFloor(work); },
                                  [&] { return testing_support::RunJob(work).saved; }});
        const double floor = medians[0];
        const double engine = medians[1];
        const double mb = static_cast<double>(bytes) / 1e6;
        std::printf("%-18s %12.0f %12.0f %8.2f\n", layout.name, mb / floor, mb / engine,
                    engine / floor);
    }
#ifdef VARNOLA_BENCH_DIALOG
    {
        // The same job through the dialog: real Qt bars, the real pump after every block.
        const bench::SampleLayout layout{"16-bit stereo", 2, 16};
        const std::string master = dir + "/master.wav";
        const std::string work = dir + "/work.wav";
        bench::WriteTestWave(master, layout, bytes);
        const auto medians = bench::TimeDialogJob(
            work, runs, [&] { bench::CopyFile(master, work); },
            [&] { return testing_support::RunJob(work).saved; });
        std::printf("\n%-18s %12s %12s %8s\n", "file", "dialog s", "headless s", "ratio");
        std::printf("%-18s %12.3f %12.3f %8.2f\n", layout.name, medians[0], medians[1],
                    medians[0] / medians[1]);
    }
#endif
    bench::RemoveTree(dir);
    return 0;
}
