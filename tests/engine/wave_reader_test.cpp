// SPDX-License-Identifier: MIT
// What the reader accepts and what it refuses.
#include <gtest/gtest.h>

#include "temp_dir.h"
#include "wave_normalizer.h"

using namespace testing_support;

namespace {

struct ReaderCase {
    const char* name;
    Bytes file;
    bool accepted;
};

void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.name; }


Format WithTag(std::uint16_t tag) {
    Format f = Pcm(1, 16);
    f.tag = tag;
    return f;
}

Format WithAlignment(std::uint16_t channels, std::uint16_t bits, std::uint16_t align) {
    Format f = Pcm(channels, bits);
    f.blockAlign = align;
    return f;
}

Bytes Truncated(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

const Bytes kData = Samples16({100, -200, 300, -400});

std::vector<ReaderCase> Cases() {
    const Format f = Pcm(1, 16);
    return {
        {"Plain", SimpleWave(f, kData), true},
        {"NoRiffAtAll", Chunk("data", kData), false},
        {"RiffOfAnotherForm", RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", kData)}, -1, "AVI "), false},
        {"FloatTagRefused", SimpleWave(WithTag(3), kData), false},
        {"ExtensibleTagRefused", RiffWave({Chunk("fmt ", FormatBytes(WithTag(0xFFFE), 24)), Chunk("data", kData)}), false},
        {"EmptyDataRefused", SimpleWave(f, Bytes{}), false},
        {"DataBeforeFmtRefused", RiffWave({Chunk("data", kData), Chunk("fmt ", FormatBytes(f))}), false},
        {"NoDataChunk", RiffWave({Chunk("fmt ", FormatBytes(f))}), false},
        {"ListBetweenIsSkipped", RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("LIST", Bytes(9, 1)), Chunk("data", kData)}), true},
        {"FmtOf18Bytes", RiffWave({Chunk("fmt ", FormatBytes(f, 2)), Chunk("data", kData)}), true},
        {"FmtOf40BytesWithPcmTag", RiffWave({Chunk("fmt ", FormatBytes(f, 24)), Chunk("data", kData)}), true},
        {"FmtOf14BytesRefused", RiffWave({Chunk("fmt ", Truncated(FormatBytes(f), 14)), Chunk("data", kData)}), false},
        {"FmtDeclaredLongerThanFileRefused", RiffWave({Chunk("fmt ", FormatBytes(f), 0xFFFFFFFF)}), false},
        {"BlockAlignZeroRefused", SimpleWave(WithAlignment(1, 16, 0), kData), false},
        {"BlockAlignTooSmallForChannelsRefused", SimpleWave(WithAlignment(2, 16, 2), kData), false},
        {"BlockAlignLargerIsTaken", SimpleWave(WithAlignment(1, 16, 4), kData), true},
        {"TwentyFourBitPasses", SimpleWave(Pcm(2, 24), Bytes(12, 0)), true},
        {"RiffSizeSmallerThanContent", RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", kData)}, 20), false},
        {"RiffSizeLargerThanFile", RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", kData)}, 1 << 30), true},
        {"DataDeclaredHuge", RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", kData, 0xFFFFFFFF)}), true},
        {"Empty", Bytes{}, false},
    };
}

class Reader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(Reader, AcceptsOrRefuses) {
    TempDir dir;
    const std::string path = dir.File("in.wav");
    WriteFile(path, GetParam().file);
    CWaveNormalizer n;
    EXPECT_EQ(n.Open(path), GetParam().accepted);
    EXPECT_EQ(ReadFile(path), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(Files, Reader, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Reader, FormatFieldsAreDecodedInOrder) {
    TempDir dir;
    const std::string path = dir.File("fields.wav");
    Format f;
    f.channels = 3;
    f.rate = 0x01020304;
    f.byteRate = 0x0A0B0C0D;
    f.blockAlign = 6;
    f.bits = 16;
    WriteFile(path, SimpleWave(f, Bytes(12, 0)));
    CWaveNormalizer n;
    ASSERT_TRUE(n.Open(path));
    EXPECT_EQ(n.GetFormat().channels, 3);
    EXPECT_EQ(n.GetFormat().samplesPerSec, 0x01020304u);
    EXPECT_EQ(n.GetFormat().avgBytesPerSec, 0x0A0B0C0Du);
    EXPECT_EQ(n.GetFormat().blockAlign, 6);
    EXPECT_EQ(n.GetDataSize(), 12u);
}

}  // namespace
