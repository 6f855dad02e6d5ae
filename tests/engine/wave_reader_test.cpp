// SPDX-License-Identifier: MIT
// What the reader accepts and what it refuses.
#include <gtest/gtest.h>

#include "temp_dir.h"
#include "wave_normalizer.h"

using namespace testing_support;

namespace {

using varnola::WaveCheck;

struct ReaderCase {
    const char* name;
    Bytes file;
    WaveCheck check;  // kAccepted, or the one rule the file breaks
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

Bytes FromHex(const char* hex) {
    Bytes out;
    for (const char* p = hex; p[0] && p[1]; p += 2) {
        out.push_back(static_cast<unsigned char>(std::stoi(std::string(p, 2), nullptr, 16)));
    }
    return out;
}

Bytes Joined(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const Bytes kData = Samples16({100, -200, 300, -400});

std::vector<ReaderCase> Cases() {
    const Format f = Pcm(1, 16);
    return {
        {"Plain", SimpleWave(f, kData), WaveCheck::kAccepted},
        {"NoRiffAtAll", Chunk("data", kData), WaveCheck::kNoWaveForm},
        {"RiffOfAnotherForm",
         RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", kData)}, -1, "AVI "),
         WaveCheck::kNoWaveForm},
        {"FloatTagRefused", SimpleWave(WithTag(3), kData), WaveCheck::kNotPcm},
        {"ExtensibleTagRefused",
         RiffWave({Chunk("fmt ", FormatBytes(WithTag(0xFFFE), 24)), Chunk("data", kData)}),
         WaveCheck::kNotPcm},
        {"EmptyDataRefused", SimpleWave(f, Bytes{}), WaveCheck::kEmptyData},
        {"DataBeforeFmtRefused", RiffWave({Chunk("data", kData), Chunk("fmt ", FormatBytes(f))}),
         WaveCheck::kNoDataChunk},
        {"NoDataChunk", RiffWave({Chunk("fmt ", FormatBytes(f))}), WaveCheck::kNoDataChunk},
        {"ListBetweenIsSkipped",
         RiffWave(
             {Chunk("fmt ", FormatBytes(f)), Chunk("LIST", Bytes(9, 1)), Chunk("data", kData)}),
         WaveCheck::kAccepted},
        {"FmtOf18Bytes", RiffWave({Chunk("fmt ", FormatBytes(f, 2)), Chunk("data", kData)}),
         WaveCheck::kAccepted},
        {"FmtOf40BytesWithPcmTag",
         RiffWave({Chunk("fmt ", FormatBytes(f, 24)), Chunk("data", kData)}), WaveCheck::kAccepted},
        {"FmtOf14BytesRefused",
         RiffWave({Chunk("fmt ", Truncated(FormatBytes(f), 14)), Chunk("data", kData)}),
         WaveCheck::kShortFormat},
        {"FmtDeclaredLongerThanFileRefused", RiffWave({Chunk("fmt ", FormatBytes(f), 0xFFFFFFFF)}),
         WaveCheck::kNoDataChunk},
        {"BlockAlignZeroRefused", SimpleWave(WithAlignment(1, 16, 0), kData),
         WaveCheck::kBadBlockAlign},
        {"BlockAlignTooSmallForChannelsRefused", SimpleWave(WithAlignment(2, 16, 2), kData),
         WaveCheck::kBadBlockAlign},
        {"BlockAlignLargerIsTaken", SimpleWave(WithAlignment(1, 16, 4), kData),
         WaveCheck::kAccepted},
        {"TwentyFourBitPasses", SimpleWave(Pcm(2, 24), Bytes(12, 0)), WaveCheck::kAccepted},
        {"RiffSizeSmallerThanContent",
         RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", kData)}, 20),
         WaveCheck::kNoDataChunk},
        {"RiffSizeLargerThanFile",
         RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", kData)}, 1 << 30),
         WaveCheck::kAccepted},
        {"DataDeclaredHuge",
         RiffWave({Chunk("fmt ", FormatBytes(f)), Chunk("data", kData, 0xFFFFFFFF)}),
         WaveCheck::kAccepted},
        {"Empty", Bytes{}, WaveCheck::kNoWaveForm},
        {"FmtCutShortByTheEndOfFile", Truncated(SimpleWave(f, kData), 30), WaveCheck::kShortFormat},
        // The first "RIFF" reading "WAVE" is the form, whatever its size: one
        // too small to hold a chunk is not skipped for a valid one further on.
        {"FirstFormOfSizeZero",
         FromHex("52494646000000005741564500000000524946462600000057415645"
                 "666d74201000000001000100401f0000803e00000200100064617461"
                 "020000000001"),
         WaveCheck::kNoFormatChunk},
        {"FirstFormOfSizeTwo", Joined(RiffWave({}, 2), SimpleWave(f, kData)),
         WaveCheck::kNoFormatChunk},
        {"FormOfAnotherTypeIsSkipped",
         Joined(RiffWave({Chunk("JUNK", Bytes(6, 1))}, -1, "AVI "), SimpleWave(f, kData)),
         WaveCheck::kAccepted},
    };
}

class Reader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(Reader, AcceptsOrRefusesForItsReason) {
    TempDir dir;
    const std::string path = dir.File("in.wav");
    WriteFile(path, GetParam().file);
    CWaveNormalizer n;
    EXPECT_EQ(n.Open(path), GetParam().check == WaveCheck::kAccepted);
    EXPECT_EQ(n.GetCheck(), GetParam().check);
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

TEST(Reader, WhatIsNoRegularFileIsUnreadable) {
    TempDir dir;
    for (const std::string& path : {dir.File("missing.wav"), dir.Path()}) {
        CWaveNormalizer n;
        EXPECT_FALSE(n.Open(path)) << path;
        EXPECT_EQ(n.GetCheck(), WaveCheck::kUnreadable) << path;
    }
}

}  // namespace
