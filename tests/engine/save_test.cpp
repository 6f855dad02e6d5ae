// SPDX-License-Identifier: MIT
// The rewrite and the replace: what ends up on disk in each case.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "message_pump.h"
#include "reference_normalizer.h"
#include "run_job.h"
#include "temp_dir.h"
#include "wave_format.h"  // the writer below the public surface
#include "wave_normalizer.h"

using namespace testing_support;

namespace {

class PumpHookGuard {
public:
    explicit PumpHookGuard(std::function<void()> hook) { SetPumpHook(std::move(hook)); }
    ~PumpHookGuard() { SetPumpHook(nullptr); }
};

TEST(Save, ThreeChannelsLeaveTheSkippedBytesOfEachBlockAlone) {
    TempDir dir;
    const std::string path = dir.File("three.wav");
    const Format f = Pcm(3, 16);  // alignment 6
    // The peak (8000) sits in bytes 4092..4093, which the scan never looks at;
    // the measured peak is 4000, so the gain is 8192 and that sample clips.
    std::vector<int> values(3 * 16384 / 2, 0);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int>(i % 4001) - 2000;
    values[100] = 4000;
    values[4092 / 2] = 8000;
    values[16380 / 2] = 3;  // last 4 bytes of the first rewrite block: never scaled
    values[16382 / 2] = -3;
    const Bytes data = Samples16(values);
    WriteFile(path, SimpleWave(f, data));

    const JobResult r = RunJob(path);
    ASSERT_TRUE(r.saved);
    EXPECT_EQ(r.gain, 8192);
    const Expected e = ReferenceNormalize(f, data);
    ASSERT_EQ(e.gain, 8192);
    const Bytes out = ReadFile(path);
    EXPECT_EQ(out, e.output);
    EXPECT_EQ(Sample16At(out, 44 + 4092), 32767);  // scaled though never measured
    EXPECT_EQ(Sample16At(out, 44 + 16380), 3);
    EXPECT_EQ(Sample16At(out, 44 + 16382), -3);
}

TEST(Save, DataShorterOnDiskThanDeclared) {
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(20000, 10000);  // 40000 bytes present
    struct Case {
        std::uint32_t declared;
        bool saved;
    };
    // 3 blocks of 16384 reach 49152: the last block still holds bytes, so it
    // saves with what is there; declaring 4 blocks makes the fourth read empty.
    for (const Case c : {Case{49000, true}, Case{60000, false}}) {
        TempDir dir;
        const std::string path = dir.File("short.wav");
        const Bytes original =
            RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", data, c.declared)});
        WriteFile(path, original);
        const JobResult r = RunJob(path);
        ASSERT_TRUE(r.opened);
        EXPECT_EQ(r.saved, c.saved) << c.declared;
        EXPECT_EQ(ReadFile(path), c.saved ? ReferenceNormalize(f, data).output : original);
        EXPECT_FALSE(Exists(path + ".$$$"));
    }
}

TEST(Save, ReadOnlySourceIsKeptAndTheFinishedCopyStaysBeside) {
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string path = dir.File("ro.wav");
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(3000, 5000);
    const Bytes original = SimpleWave(f, data);
    WriteFile(path, original);
    // No write permission: on Windows, the read-only attribute.
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const JobResult r = RunJob(path);
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(ReadFile(path + ".$$$"), ReferenceNormalize(f, data).output);
    // The copy left beside stays removable, so the next attempt can start over.
    std::error_code ec;
    EXPECT_TRUE(fs::remove(path + ".$$$", ec)) << ec.message();
}

TEST(Save, StaleTemporaryFileIsReplacedOrRemoved) {
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(3000, 5000);
    {
        TempDir dir;
        const std::string path = dir.File("stale.wav");
        WriteFile(path, SimpleWave(f, data));
        WriteFile(path + ".$$$", Bytes(100000, 7));
        ASSERT_TRUE(RunJob(path).saved);
        EXPECT_EQ(ReadFile(path), ReferenceNormalize(f, data).output);
        EXPECT_FALSE(Exists(path + ".$$$"));
    }
    {
        // The rewrite fails (data missing on disk), so the stale file goes with it.
        TempDir dir;
        const std::string path = dir.File("stale.wav");
        const Bytes original =
            RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", data, 100000)});
        WriteFile(path, original);
        WriteFile(path + ".$$$", Bytes(10, 7));
        EXPECT_FALSE(RunJob(path).saved);
        EXPECT_EQ(ReadFile(path), original);
        EXPECT_FALSE(Exists(path + ".$$$"));
    }
}

TEST(Save, SourceChangedDuringTheRewriteIsNeverClobbered) {
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(40000, 5000);  // several rewrite blocks
    const Bytes theirs = SimpleWave(f, Sine16(100, 100));
    // Each returns whether it could change the file: Windows refuses to
    // replace a file that the engine holds open.
    struct Change {
        const char* name;
        std::function<bool(const std::string&)> apply;
    };
    const std::vector<Change> changes = {
        {"replaced",
         [&](const std::string& p) {
             WriteFile(p + ".new", theirs);
             std::error_code ec;
             std::filesystem::rename(p + ".new", p, ec);
             return !ec;
         }},
        {"truncated",
         [&](const std::string& p) {
             std::error_code ec;
             std::filesystem::resize_file(p, 1000, ec);
             return !ec;
         }},
        {"appended",
         [&](const std::string& p) {
             FILE* file = std::fopen(p.c_str(), "ab");
             if (!file) return false;
             std::fputs("more", file);
             return std::fclose(file) == 0;
         }},
    };
    for (const Change& change : changes) {
        TempDir dir;
        const std::string path = dir.File("busy.wav");
        WriteFile(path, SimpleWave(f, data));
        CProgressCtrl measure, save;
        CWaveNormalizer n;
        ASSERT_TRUE(n.Open(path));
        n.ComputeGain(measure);
        ASSERT_NE(n.GetGain(), 1000);
        int pumps = 0;
        bool changed = false;
        PumpHookGuard hook([&] {
            if (++pumps == 2) changed = change.apply(path);
        });
        const bool saved = n.SaveNormalized(save);
        EXPECT_FALSE(Exists(path + ".$$$")) << change.name;
        if (!changed) {
            // Nobody got in: the save went through as usual.
            EXPECT_TRUE(saved) << change.name;
            EXPECT_EQ(ReadFile(path), ReferenceNormalize(f, data).output) << change.name;
            continue;
        }
        EXPECT_FALSE(saved) << change.name;
        const Bytes now = ReadFile(path);
        if (std::string(change.name) == "replaced") {
            EXPECT_EQ(now, theirs);
        }
        EXPECT_NE(now, ReferenceNormalize(f, data).output) << change.name;
    }
}

// The gain belongs to the file it was measured on. Another file put at the
// path during the scan or before the save (even of another depth) is left
// as the other program wrote it, and the save reports failure.
TEST(Save, FileChangedDuringOrAfterTheScanIsNeverScaledWithItsGain) {
    const Format f = Pcm(1, 16);
    const Bytes data = Sine16(40000, 5000);  // several scan blocks
    const Bytes eightBit = SimpleWave(Pcm(1, 8), Bytes(20000, 0));
    const Bytes sixteenBit = SimpleWave(f, Sine16(40000, 30000, 7));
    struct Change {
        const char* name;
        Bytes theirs;  // what replaces the file; empty: a byte appended in place
        bool duringScan;
    };
    const Change changes[] = {
        {"EightBitSwappedInDuringTheScan", eightBit, true},
        {"SixteenBitSwappedInDuringTheScan", sixteenBit, true},
        {"AppendedToDuringTheScan", {}, true},
        {"EightBitSwappedInBeforeTheSave", eightBit, false},
        {"SixteenBitSwappedInBeforeTheSave", sixteenBit, false},
        {"AppendedToBeforeTheSave", {}, false},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        TempDir dir;
        const std::string path = dir.File("swapped.wav");
        const Bytes original = SimpleWave(f, data);
        WriteFile(path, original);
        Bytes expected = change.theirs;
        if (expected.empty()) {
            expected = original;
            expected.push_back('!');
        }
        // Windows does not let another program replace a file the engine
        // holds open; returns whether the change was made.
        const auto apply = [&] {
            if (change.theirs.empty()) {
                FILE* file = std::fopen(path.c_str(), "ab");
                return file && std::fputc('!', file) != EOF && std::fclose(file) == 0;
            }
            std::error_code ec;
            WriteFile(path + ".new", expected);
            std::filesystem::rename(path + ".new", path, ec);
            if (ec) std::filesystem::remove(path + ".new", ec);
            return ReadFile(path) == expected;
        };
        CProgressCtrl measure, save;
        CWaveNormalizer n;
        ASSERT_TRUE(n.Open(path));
        bool changed = false;
        {
            int pumps = 0;
            PumpHookGuard hook([&] {
                if (change.duringScan && ++pumps == 2) changed = apply();
            });
            n.ComputeGain(measure);
        }
        if (!change.duringScan) changed = apply();
        ASSERT_EQ(n.GetGain(), ReferenceNormalize(f, data).gain);
        const bool saved = n.SaveNormalized(save);
        if (!changed) {
            EXPECT_TRUE(saved);
            continue;
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadFile(path), expected);
        EXPECT_FALSE(Exists(path + ".$$$"));
    }
}

// A second job on the same file while the first writes its copy (another
// window, or the command-line runner) gives up cleanly; the first job's
// copy is whole and in place.
TEST(Save, SecondJobOnTheFileBeingSavedFailsAndLeavesTheFirstWhole) {
    TempDir dir;
    const std::string path = dir.File("shared.wav");
    const Format f = Pcm(2, 16);
    const Bytes data = Sine16(60000, 7000);  // several rewrite blocks
    WriteFile(path, SimpleWave(f, data));
    CProgressCtrl measure, save;
    CWaveNormalizer first;
    ASSERT_TRUE(first.Open(path));
    first.ComputeGain(measure);
    JobResult second;
    int pumps = 0;
    PumpHookGuard hook([&] {
        if (++pumps == 2) second = RunJob(path);
    });
    EXPECT_TRUE(first.SaveNormalized(save));
    EXPECT_TRUE(second.opened);
    EXPECT_FALSE(second.saved);
    EXPECT_EQ(ReadFile(path), ReferenceNormalize(f, data).output);
    EXPECT_FALSE(Exists(path + ".$$$"));
}

TEST(Save, ProgressCoversTheDataInBlocks) {
    TempDir dir;
    const std::string path = dir.File("progress.wav");
    const Bytes data = Sine16(25000, 4000);  // 50000 bytes
    WriteFile(path, SimpleWave(Pcm(1, 16), data));
    std::vector<std::uint32_t> measured;
    CProgressCtrl measure, save;
    PumpHookGuard hook([&] { measured.push_back(measure.GetPos()); });
    ASSERT_TRUE(RunJob(path, &measure, &save).saved);
    EXPECT_EQ(measure.GetUpper(), 50000u);
    EXPECT_EQ(save.GetUpper(), 50000u);
    // 13 scan blocks, the bar at each one's start; 4 rewrite blocks.
    ASSERT_EQ(measured.size(), 13u + 4u);
    EXPECT_EQ(measured[0], 0u);
    EXPECT_EQ(measured[12], 12u * 4096);
    EXPECT_EQ(measure.GetPos(), 12u * 4096);
    EXPECT_EQ(save.GetPos(), 3u * 16384);
}

// Accepts every write without storing it, so a file of almost 4 GiB costs nothing.
class DiscardingFileSystem final : public varnola::FileSystem {
public:
    Handle OpenForReading(const std::string&) override { return kNoHandle; }
    Handle CreateExclusive(const std::string&) override { return 3; }
    long long ReadAt(Handle, void*, std::size_t, std::uint64_t) override { return -1; }
    long long WriteAt(Handle, const void*, std::size_t count, std::uint64_t) override {
        return static_cast<long long>(count);
    }
    std::uint64_t NextData(Handle, std::uint64_t offset) override { return offset; }
    bool Status(Handle, varnola::FileStatus&) override { return false; }
    bool SetPermissions(Handle, std::uint32_t) override { return true; }
    void SetOwner(Handle, std::uint32_t, std::uint32_t) override {}
    bool CopyAttributes(Handle, Handle) override { return true; }
    bool LockForSave(Handle) override { return true; }
    bool Flush(Handle) override { return true; }
    bool Close(Handle) override { return true; }
    bool PathStatus(const std::string&, varnola::FileStatus&) override { return false; }
    bool ResolveLinks(const std::string&, std::string&) override { return false; }
    bool CanWrite(const std::string&) override { return true; }
    bool Remove(const std::string&) override { return true; }
    bool Replace(const std::string&, const std::string&) override { return true; }
    bool CanReplaceOpenFiles() const override { return true; }
    bool FlushFolderOf(const std::string&) override { return true; }
};

TEST(Save, OutputWhoseRiffSizeWouldNotFit32BitsFails) {
    static const unsigned char block[1 << 16] = {};
    for (const std::uint64_t samples :
         {std::uint64_t{0xFFFFFFFF} - 36 - 1, std::uint64_t{0xFFFFFFFF} - 36 + 1}) {
        DiscardingFileSystem fs;
        varnola::RiffFile out(fs);
        ASSERT_TRUE(out.OpenForWriting("x"));
        varnola::ChunkInfo form, data;
        ASSERT_TRUE(varnola::BeginWaveOutput(out, varnola::PcmFormat{}, form, data));
        for (std::uint64_t left = samples; left > 0;) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof block));
            ASSERT_EQ(out.Write(block, n), static_cast<long long>(n));
            left -= n;
        }
        // 36 + N: 0xFFFFFFFE still fits the size field, 0x100000000 does not.
        EXPECT_EQ(varnola::EndWaveOutput(out, form, data), samples < 0xFFFFFFFF - 36) << samples;
    }
}

}  // namespace
