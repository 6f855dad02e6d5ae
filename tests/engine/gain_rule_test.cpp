// SPDX-License-Identifier: MIT
// The gain rule at its edges, and what scaling does to individual samples.
#include <gtest/gtest.h>

#include <climits>

#include "reference_normalizer.h"
#include "sample_kernels.h"
#include "temp_dir.h"
#include "wave_normalizer.h"

using namespace testing_support;

namespace {

struct GainCase {
    const char* name;
    int bits;
    std::vector<int> samples;  // 16-bit values, or 8-bit bytes
    int peak;
    int gain;
    std::vector<int> expected;  // the samples after the job (equal to samples when not saved)
};

void PrintTo(const GainCase& c, std::ostream* os) { *os << c.name; }

Bytes Encode(int bits, const std::vector<int>& values) {
    if (bits == 16) return Samples16(values);
    Bytes out;
    for (int v : values) out.push_back(static_cast<unsigned char>(v));
    return out;
}

class GainRule : public ::testing::TestWithParam<GainCase> {};

TEST_P(GainRule, PeakGainAndSamples) {
    const GainCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.File("case.wav");
    const Format f = Pcm(1, static_cast<std::uint16_t>(c.bits));
    const Bytes original = SimpleWave(f, Encode(c.bits, c.samples));
    WriteFile(path, original);

    CProgressCtrl measure, save;
    CWaveNormalizer n;
    ASSERT_TRUE(n.Open(path));
    n.ComputeGain(measure);
    EXPECT_EQ(n.GetPeak(), c.peak);
    EXPECT_EQ(n.GetGain(), c.gain);
    if (n.GetGain() != 1000) {
        ASSERT_TRUE(n.SaveNormalized(save));
    }

    const Bytes expectedFile =
        c.gain == 1000 ? original : SimpleWave(f, Encode(c.bits, c.expected));
    EXPECT_EQ(ReadFile(path), expectedFile);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, GainRule,
    ::testing::Values(
        GainCase{"HalfScaleDoubles", 16, {16384, -100, 7}, 16384, 2000, {32767, -200, 14}},
        GainCase{"Peak32736KeepsUnity", 16, {32736, -5}, 32736, 1000, {}},
        GainCase{"Peak32735GetsOneThousandAndOne",
                 16,
                 {32735, -32735, 1000},
                 32735,
                 1001,
                 {32767, -32767, 1001}},
        GainCase{"LoneMinus32768KeepsUnity", 16, {0, -32768, 0}, 32768, 1000, {}},
        GainCase{"Gain1500TruncatesTowardZero",
                 16,
                 {21845, -3, 3, -21845},
                 21845,
                 1500,
                 {32767, -4, 4, -32767}},
        GainCase{"Peak30000LandsOn32760", 16, {30000, -30000}, 30000, 1092, {32760, -32760}},
        GainCase{"Peak501StaysNarrow", 16, {501, -250, 1}, 501, 65405, {32767, -16351, 65}},
        GainCase{"Peak500NeedsWideProducts", 16, {500, -500, 3}, 500, 65536, {32767, -32768, 196}},
        GainCase{"PeakOneGivesHugeGain", 16, {1, -1, 0}, 1, 32768000, {32767, -32768, 0}},
        GainCase{"SilenceKeepsUnity16", 16, {0, 0, 0, 0}, 0, 1000, {}},
        GainCase{
            "EightBitPeak127ChangesNothing", 8, {255, 1, 128, 200}, 127, 1007, {255, 1, 128, 200}},
        GainCase{"EightBitPeak100From228", 8, {228, 28, 178, 128}, 100, 1280, {255, 0, 192, 128}},
        GainCase{"EightBitPeak128KeepsUnity", 8, {0, 255}, 128, 1000, {}},
        GainCase{"EightBitPeak64Doubles", 8, {192, 64, 129}, 64, 2000, {255, 0, 130}},
        GainCase{"SilenceKeepsUnity8", 8, {128, 128, 128}, 0, 1000, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GainRule, OtherDepthsPassValidationButAreNeverRewritten) {
    for (const int bits : {24, 32}) {
        TempDir dir;
        const std::string path = dir.File("deep.wav");
        const Bytes original =
            SimpleWave(Pcm(2, static_cast<std::uint16_t>(bits)), Bytes(600, 0x11));
        WriteFile(path, original);
        CProgressCtrl measure;
        CWaveNormalizer n;
        ASSERT_TRUE(n.Open(path)) << bits;
        n.ComputeGain(measure);
        EXPECT_EQ(n.GetPeak(), 0) << bits;
        EXPECT_EQ(n.GetGain(), 1000) << bits;
        EXPECT_EQ(ReadFile(path), original) << bits;
    }
}

TEST(GainRule, PeakIsMeasuredOncePerObject) {
    TempDir dir;
    const std::string path = dir.File("cached.wav");
    WriteFile(path, SimpleWave(Pcm(1, 16), Samples16({1000, -2000})));
    CProgressCtrl measure;
    CWaveNormalizer n;
    ASSERT_TRUE(n.Open(path));
    EXPECT_EQ(n.MeasurePeak(measure), 2000);
    WriteFile(path, SimpleWave(Pcm(1, 16), Samples16({30000})));
    EXPECT_EQ(n.MeasurePeak(measure), 2000);
}

TEST(GainRule, UnreadableOnRescanKeepsUnity) {
    TempDir dir;
    const std::string path = dir.File("gone.wav");
    WriteFile(path, SimpleWave(Pcm(1, 16), Samples16({1000})));
    CProgressCtrl measure;
    CWaveNormalizer n;
    ASSERT_TRUE(n.Open(path));
    std::remove(path.c_str());
    EXPECT_EQ(n.MeasurePeak(measure), -1);
    n.ComputeGain(measure);
    EXPECT_EQ(n.GetGain(), 1000);
    EXPECT_EQ(n.GetPeak(), -1);
}

// A file swapped under the job can hand the kernels a gain measured on
// another depth, or any gain at all: every sample value, scaled with each,
// matches the rule computed in 64 bits.
TEST(GainRule, KernelsNeverWrapWhateverTheGain) {
    const int gains[] = {INT_MAX, INT_MIN, 32768000, -32768000, 128001, 128000,
                         65536,   65535,   -65535,   -65536,    -1000,  1};
    for (const int gain : gains) {
        Bytes eight(256);
        for (int b = 0; b < 256; ++b)
            eight[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
        varnola::Scale8Bit(eight.data(), eight.size(), gain);
        for (int b = 0; b < 256; ++b) {
            const std::int64_t t =
                std::clamp<std::int64_t>(std::int64_t{gain} * (b - 128) / 1000, -128, 127);
            ASSERT_EQ(eight[static_cast<std::size_t>(b)], t + 128)
                << "gain " << gain << ", byte " << b;
        }
        std::vector<int> values(65536);
        for (int s = -32768; s < 32768; ++s) values[static_cast<std::size_t>(s + 32768)] = s;
        Bytes sixteen = Samples16(values);
        varnola::Scale16Bit(sixteen.data(), values.size(), gain);
        for (int s = -32768; s < 32768; ++s) {
            const std::int64_t t =
                std::clamp<std::int64_t>(std::int64_t{gain} * s / 1000, -32768, 32767);
            ASSERT_EQ(Sample16At(sixteen, 2 * static_cast<std::size_t>(s + 32768)), t)
                << "gain " << gain << ", sample " << s;
        }
    }
}

}  // namespace
