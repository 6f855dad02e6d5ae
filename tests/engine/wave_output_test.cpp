// SPDX-License-Identifier: MIT
// The exact bytes of a written file.
#include <gtest/gtest.h>

#include "reference_normalizer.h"
#include "run_job.h"
#include "temp_dir.h"
#include "wave_normalizer.h"

using namespace testing_support;

namespace {

TEST(WaveOutput, OddLengthGetsPadByteAndOtherChunksAreDropped) {
    TempDir dir;
    const std::string path = dir.File("odd.wav");
    Format f = Pcm(1, 8);
    // Three 8-bit samples with peak 64 (byte 192): gain 2000.
    WriteFile(path, RiffWave({Chunk("JUNK", Bytes(5, 0xAA)), Chunk("fmt ", FormatBytes(f)),
                              Chunk("fact", Bytes{3, 0, 0, 0}), Chunk("LIST", Bytes(7, 'x')),
                              Chunk("data", Bytes{192, 128, 100})}));
    ASSERT_TRUE(RunJob(path).saved);

    // The bytes as the file lays them out, a line a chunk.
    // clang-format off
    const Bytes expected = {
        'R', 'I', 'F', 'F', 40, 0, 0, 0,  // 36 + 3 + 1 pad
        'W', 'A', 'V', 'E',
        'f', 'm', 't', ' ', 16, 0, 0, 0,
        1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x44, 0xAC, 0, 0, 1, 0, 8, 0,
        'd', 'a', 't', 'a', 3, 0, 0, 0,
        255, 128, 72,  // 64*2 clipped to 127; 0; -28*2
        0,             // pad
    };
    // clang-format on
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_FALSE(Exists(path + ".$$$"));
}

TEST(WaveOutput, ExtendedFormatChunkIsWrittenWithSixteenBytes) {
    TempDir dir;
    const std::string path = dir.File("ext.wav");
    const Format f = Pcm(2, 16);
    const Bytes data = Sine16(1000, 12000);
    WriteFile(path, RiffWave({Chunk("fmt ", FormatBytes(f, 2)), Chunk("data", data)}));
    ASSERT_TRUE(RunJob(path).saved);
    EXPECT_EQ(ReadFile(path), ReferenceNormalize(f, data).output);
}

TEST(WaveOutput, LargerFileMatchesTheRulesAcrossManyBlocks) {
    TempDir dir;
    const std::string path = dir.File("long.wav");
    const Format f = Pcm(2, 16);
    const Bytes data = Sine16(150001 * 2, 9876);  // ~600 KB, not a whole number of blocks
    WriteFile(path, SimpleWave(f, data));
    ASSERT_TRUE(RunJob(path).saved);
    EXPECT_EQ(ReadFile(path), ReferenceNormalize(f, data).output);
}

}  // namespace
