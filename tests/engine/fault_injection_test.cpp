// SPDX-License-Identifier: MIT
// Every file operation of a whole job failing in turn: the source is always
// either exactly as it was or completely replaced, and the outcome says which.
#include <gtest/gtest.h>

#include <algorithm>

#include "faulty_file_system.h"
#include "reference_normalizer.h"
#include "temp_dir.h"
#include "wave_normalizer.h"

using namespace testing_support;
using Fault = FaultyFileSystem::Fault;

namespace {

struct Outcome {
    bool saved = false;
    bool injected = false;
    bool folderFlushFailed = false;
    bool removeFailed = false;  // removing a broken copy, or making sure it is this job's
    std::vector<std::string> log;
};

Outcome RunFaultyJob(const std::string& path, long failAt, Fault fault, bool persistent) {
    FaultyFileSystem fs;
    fs.FailAt(failAt, fault, persistent);
    CProgressCtrl measure, save;
    CWaveNormalizer n(fs);
    Outcome o;
    if (n.Open(path)) {
        n.ComputeGain(measure);
        if (n.GetGain() != 1000) o.saved = n.SaveNormalized(save);
    }
    o.injected = fs.Injected();
    o.log = fs.Log();
    o.folderFlushFailed = std::find(o.log.begin(), o.log.end(), "fsync-dir!") != o.log.end();
    o.removeFailed = std::find(o.log.begin(), o.log.end(), "unlink!") != o.log.end() ||
                     std::find(o.log.begin(), o.log.end(), "lstat!") != o.log.end();
    return o;
}

struct FaultMode {
    const char* name;
    Fault fault;
    bool persistent;
};

void PrintTo(const FaultMode& c, std::ostream* os) { *os << c.name; }

class EveryOperation : public ::testing::TestWithParam<FaultMode> {};

TEST_P(EveryOperation, SourceIsIntactOrReplacedNeverPartial) {
    const Format f = Pcm(2, 16);
    const Bytes data = Sine16(30000, 6000);  // several blocks of each loop
    const Bytes original = RiffWave(
        {Chunk("fmt ", FormatBytes(f)), Chunk("LIST", Bytes(3, 'i')), Chunk("data", data)});
    const Bytes normalised = ReferenceNormalize(f, data).output;

    long tried = 0;
    for (long n = 1;; ++n, ++tried) {
        TempDir dir;
        const std::string path = dir.File("job.wav");
        const std::string temporary = path + ".$$$";
        WriteFile(path, original);
        const Outcome o = RunFaultyJob(path, n, GetParam().fault, GetParam().persistent);
        const Bytes now = ReadFile(path);
        SCOPED_TRACE("fault at operation " + std::to_string(n));

        ASSERT_TRUE(now == original || now == normalised);
        // A rename that may not outlast a crash is not reported as saved,
        // though the new file is in place.
        EXPECT_EQ(o.saved, now == normalised && !o.folderFlushFailed);
        if (Exists(temporary)) {
            // Left only when the finished copy could not take the source's
            // place, or when removing a broken one failed.
            EXPECT_FALSE(o.saved);
            EXPECT_TRUE(ReadFile(temporary) == normalised || o.removeFailed);
        }
        if (!o.injected) {
            EXPECT_TRUE(o.saved);
            break;
        }
    }
    RecordProperty("operations_tried", std::to_string(tried));
    EXPECT_GT(tried, 20);
}

INSTANTIATE_TEST_SUITE_P(Faults, EveryOperation,
                         ::testing::Values(FaultMode{"Fails", Fault::kFail, false},
                                           FaultMode{"ComesUpShort", Fault::kShort, false},
                                           FaultMode{"FailsFromThereOn", Fault::kFail, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DurableOrder, CopyIsFlushedBeforeTheRenameAndTheFolderAfter) {
    TempDir dir;
    const std::string path = dir.File("order.wav");
    WriteFile(path, SimpleWave(Pcm(1, 16), Sine16(10000, 3000)));
    const Outcome o = RunFaultyJob(path, 0, Fault::kNone, false);
    ASSERT_TRUE(o.saved);
    const auto at = [&](const char* name) {
        return std::find(o.log.begin(), o.log.end(), name) - o.log.begin();
    };
    const auto lastWrite = o.log.rend() - std::find(o.log.rbegin(), o.log.rend(), "write") - 1;
    EXPECT_LT(lastWrite, at("chmod"));
    EXPECT_LT(at("chmod"), at("fsync"));
    EXPECT_LT(at("fsync"), at("rename"));
    EXPECT_LT(at("rename"), at("fsync-dir"));
    // Three opens of the source: validation, scan, rewrite.
    EXPECT_EQ(std::count(o.log.begin(), o.log.end(), "open-read"), 3);
}

}  // namespace
