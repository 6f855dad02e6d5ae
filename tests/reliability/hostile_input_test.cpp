// SPDX-License-Identifier: MIT
// Files made to break the reader: each ends in bounded time with a clear
// outcome, and the file is untouched unless it was saved.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "faulty_file_system.h"
#include "invariant.h"
#include "reference_reader.h"
#include "run_job.h"
#include "wave_normalizer.h"

using namespace testing_support;

namespace {

struct Hostile {
    std::string name;
    Bytes file;
};

void PrintTo(const Hostile& h, std::ostream* os) { *os << h.name; }

const Format kF = Pcm(2, 16);
const Bytes kData = Sine16(3000, 4000);

Bytes Joined(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Format With(std::function<void(Format&)> change) {
    Format f = kF;
    change(f);
    return f;
}

std::vector<Hostile> Cases() {
    std::vector<Hostile> cases;
    const Bytes valid = SimpleWave(kF, kData);
    // Cut at every offset of the header and at a few in the data.
    for (std::size_t cut = 0; cut <= 60; ++cut) {
        cases.push_back({"CutAt" + std::to_string(cut), Bytes(valid.begin(), valid.begin() + cut)});
    }
    for (std::size_t cut : {100u, 4097u, 5000u, 6043u}) {
        cases.push_back(
            {"CutInDataAt" + std::to_string(cut), Bytes(valid.begin(), valid.begin() + cut)});
    }
    for (std::uint32_t size : {0xFFFFFFFFu, 0xFFFFFFFEu}) {
        const std::string s = std::to_string(size);
        cases.push_back({"RiffSize" + s,
                         RiffWave({Chunk("fmt ", FormatBytes(kF)), Chunk("data", kData)}, size)});
        cases.push_back({"FmtSize" + s,
                         RiffWave({Chunk("fmt ", FormatBytes(kF), size), Chunk("data", kData)})});
        cases.push_back({"DataSize" + s,
                         RiffWave({Chunk("fmt ", FormatBytes(kF)), Chunk("data", kData, size)})});
        cases.push_back(
            {"JunkSize" + s, RiffWave({Chunk("fmt ", FormatBytes(kF)),
                                       Chunk("JUNK", Bytes(4, 0), size), Chunk("data", kData)})});
    }
    cases.push_back(
        {"RiffSizeZero", RiffWave({Chunk("fmt ", FormatBytes(kF)), Chunk("data", kData)}, 0)});
    cases.push_back(
        {"RiffSizeSmall", RiffWave({Chunk("fmt ", FormatBytes(kF)), Chunk("data", kData)}, 30)});
    for (std::size_t size : {0u, 14u, 15u, 18u, 40u}) {
        Bytes fmt = FormatBytes(kF, size > 16 ? size - 16 : 0);
        fmt.resize(size);
        cases.push_back({"FmtBytes" + std::to_string(size),
                         RiffWave({Chunk("fmt ", fmt), Chunk("data", kData)})});
    }
    cases.push_back({"NoChannels", SimpleWave(With([](Format& f) { f.channels = 0; }), kData)});
    cases.push_back({"AlignZero", SimpleWave(With([](Format& f) { f.blockAlign = 0; }), kData)});
    cases.push_back({"AlignOne", SimpleWave(With([](Format& f) { f.blockAlign = 1; }), kData)});
    for (std::uint16_t bits : {0, 1, 7, 9, 17, 24, 32, 65535}) {
        cases.push_back({"Bits" + std::to_string(bits),
                         SimpleWave(With([bits](Format& f) { f.bits = bits; }), kData)});
    }
    cases.push_back(
        {"DataBeforeFmt", RiffWave({Chunk("data", kData), Chunk("fmt ", FormatBytes(kF))})});
    cases.push_back(
        {"TwoFmt", RiffWave({Chunk("fmt ", FormatBytes(kF)), Chunk("fmt ", FormatBytes(Pcm(1, 8))),
                             Chunk("data", kData)})});
    cases.push_back({"TwoData", RiffWave({Chunk("fmt ", FormatBytes(kF)), Chunk("data", kData),
                                          Chunk("data", Bytes(8, 0x7F))})});
    cases.push_back(
        {"NestedRiff", RiffWave({Chunk("fmt ", FormatBytes(kF)), RiffWave({Chunk("data", kData)}),
                                 Chunk("data", kData)})});
    Bytes rifx = valid;
    rifx[3] = 'X';
    cases.push_back({"Rifx", rifx});
    Bytes rf64 = valid;
    rf64[0] = 'R', rf64[1] = 'F', rf64[2] = '6', rf64[3] = '4';
    cases.push_back({"Rf64", rf64});
    cases.push_back(
        {"OddDataWithoutPadAtEnd", RiffWave({Chunk("fmt ", FormatBytes(Pcm(1, 8))),
                                             Chunk("data", Bytes{1, 2, 3}, -1, false)})});
    cases.push_back({"OddChunkWithoutPadBeforeData",
                     RiffWave({Chunk("fmt ", FormatBytes(kF)),
                               Chunk("LIST", Bytes(3, 1), -1, false), Chunk("data", kData)})});
    return cases;
}

class HostileInput : public ::testing::TestWithParam<Hostile> {};

// Each file ends as the rules, worked out on their own from its bytes, say:
// refused for the rule it breaks, or measured, and saved as the complete
// normalised output or left exactly as it was.
TEST_P(HostileInput, EndsAsTheRulesSay) {
    TempDir dir;
    const std::string path = dir.File("in.wav");
    const Bytes& file = GetParam().file;
    WriteFile(path, file);
    const ReferenceJob want = RunReferenceJob(file);
    const JobResult o = RunJob(path);
    EXPECT_EQ(o.check, want.check);
    EXPECT_EQ(o.opened, want.check == varnola::WaveCheck::kAccepted);
    if (o.opened) {
        EXPECT_EQ(o.gain, want.expected.gain);
    }
    EXPECT_EQ(o.saved, want.saved);
    ExpectIntactOrReplaced(path, file, want.expected.output, o.saved, dir.Path());
    EXPECT_FALSE(Exists(path + ".$$$"));
}

INSTANTIATE_TEST_SUITE_P(Files, HostileInput, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

TEST(HostileInput, SparseSilenceOfAlmostFourGigabytesEndsWithoutARewrite) {
    TempDir dir;
    const std::string path = dir.File("sparse.wav");
    const std::uint32_t declared = 0xFFFFFFF0u;
    Bytes header = RiffWave({Chunk("fmt ", FormatBytes(kF)), Chunk("data", Bytes{}, declared)});
    header[4] = 0xFF, header[5] = 0xFF, header[6] = 0xFF, header[7] = 0xFF;
    WriteFile(path, header);
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(header.size() + declared)), 0);
    const JobResult o = RunJob(path);
    EXPECT_TRUE(o.opened);
    EXPECT_FALSE(o.saved);
    EXPECT_FALSE(Exists(path + ".$$$"));
}

struct SparseCase {
    const char* name;
    std::uint64_t size;  // apparent size; everything not written is a hole
    std::vector<std::pair<std::uint64_t, Bytes>> pieces;  // bytes written at offsets
    varnola::WaveCheck check;
};

void PrintTo(const SparseCase& c, std::ostream* os) { *os << c.name; }

class SparseFile : public ::testing::TestWithParam<SparseCase> {};

// A search through a file of holes does a handful of reads whatever its
// size, and lands where stepping through every empty chunk would have.
TEST_P(SparseFile, SearchReadsLittleAndKeepsItsAnswer) {
    TempDir dir;
    const std::string path = dir.File("sparse.wav");
    WriteFile(path, Bytes{});
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(GetParam().size)), 0);
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    for (const auto& [offset, bytes] : GetParam().pieces) {
        ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
                  static_cast<ssize_t>(bytes.size()));
    }
    ::close(fd);
    FaultyFileSystem fs;
    CWaveNormalizer n(fs);
    EXPECT_EQ(n.Open(path), GetParam().check == varnola::WaveCheck::kAccepted);
    EXPECT_EQ(n.GetCheck(), GetParam().check);
    const auto& log = fs.Log();
    EXPECT_LT(std::count(log.begin(), log.end(), "read"), 100);
}

const std::uint64_t kMiB = 1u << 20;
const Bytes kEmptyJunk = Chunk("JUNK", Bytes{});

INSTANTIATE_TEST_SUITE_P(
    Holes, SparseFile,
    ::testing::Values(
        SparseCase{"JunkThenHoleOf256MiBIsRefused",
                   256 * kMiB,
                   {{0, kEmptyJunk}},
                   varnola::WaveCheck::kNoWaveForm},
        SparseCase{"JunkThenHoleOf64GiBIsRefused",
                   65536 * kMiB,
                   {{0, kEmptyJunk}},
                   varnola::WaveCheck::kNoWaveForm},
        SparseCase{"WaveAfterAHoleOnTheEightByteStepIsFound",
                   256 * kMiB,
                   {{0, kEmptyJunk}, {128 * kMiB, SimpleWave(kF, kData)}},
                   varnola::WaveCheck::kAccepted},
        SparseCase{"WaveAfterAHoleOffTheEightByteStepIsMissed",
                   256 * kMiB,
                   {{0, kEmptyJunk}, {128 * kMiB + 4, SimpleWave(kF, kData)}},
                   varnola::WaveCheck::kNoWaveForm},
        // Inside the form the steps run from offset 12, four off the file's.
        SparseCase{"FmtAfterAHoleInsideTheFormIsFound",
                   256 * kMiB,
                   {{0, RiffWave({kEmptyJunk}, 0xFFFFFFF0)},
                    {192 * kMiB + 4, Joined(Chunk("fmt ", FormatBytes(kF)), Chunk("data", kData))}},
                   varnola::WaveCheck::kAccepted},
        SparseCase{"FmtPastTheFormsEndIsNotFound",
                   256 * kMiB,
                   {{0, RiffWave({kEmptyJunk}, 64 * kMiB)},
                    {192 * kMiB, Joined(Chunk("fmt ", FormatBytes(kF)), Chunk("data", kData))}},
                   varnola::WaveCheck::kNoFormatChunk}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostileInput, OddPathsEndCleanly) {
    TempDir dir;
    const Bytes file = SimpleWave(kF, kData);
    const Bytes normalised = ReferenceNormalize(kF, kData).output;
    // A name whose temporary name is one byte too long for the folder.
    const std::string longest = dir.File(std::string(255, 'n'));
    WriteFile(longest, file);
    EXPECT_FALSE(RunJob(longest).saved);
    EXPECT_EQ(ReadFile(longest), file);
    // Bytes that are not UTF-8 are still just a name here.
    const std::string latin1 = dir.File("caf\xE9.wav");
    WriteFile(latin1, file);
    EXPECT_TRUE(RunJob(latin1).saved);
    EXPECT_EQ(ReadFile(latin1), normalised);
    // A path of 4000 bytes, through nested folders.
    std::string deep = dir.Path();
    while (deep.size() + 101 <= 3850) {
        deep += "/" + std::string(100, 'd');
        ::mkdir(deep.c_str(), 0700);
    }
    const std::string far = deep + "/" + std::string(4000 - deep.size() - 1 - 4, 'f') + ".wav";
    ASSERT_EQ(far.size(), 4000u);
    WriteFile(far, file);
    EXPECT_TRUE(RunJob(far).saved);
    EXPECT_EQ(ReadFile(far), normalised);
}

TEST(HostileInput, NothingButRegularFilesIsEverOpened) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.wav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {fifo, dir.Path(), std::string("/dev/null"), std::string("/dev/zero")}) {
        EXPECT_FALSE(RunJob(path).opened) << path;
    }
    const std::string empty = dir.File("empty.wav");
    WriteFile(empty, Bytes{});
    EXPECT_FALSE(RunJob(empty).opened);
}

TEST(HostileInput, FileWithoutReadPermissionIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads any file whatever its mode";
    TempDir dir;
    const std::string path = dir.File("secret.wav");
    const Bytes file = SimpleWave(kF, kData);
    WriteFile(path, file);
    ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
    EXPECT_FALSE(RunJob(path).opened);
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(ReadFile(path), file);
}

}  // namespace
