// SPDX-License-Identifier: MIT
// The string class in the system's ANSI code page, where the program's
// literals and paths live: 932 under the Japanese locale the tests run in.
#include "win_types.h"

#include <gtest/gtest.h>

#include "cstring.h"
#include "mbcs.h"

namespace {

TEST(AnsiText, SearchesStepOverTheCodePagesDoubleByteCharacters) {
    ASSERT_EQ(::GetACP(), 932u) << "the tests expect Wine in the ja_JP.UTF-8 locale";
    ASSERT_EQ(ActiveCodePage(), CodePage::kSystemAnsi);
    // ソ is 0x83 0x5C and 表 0x95 0x5C: trail bytes with the backslash code.
    const CString path("C:\\\x95\x5C\\\x83\x5C.wav");
    EXPECT_EQ(path.ReverseFind('\\'), 5);
    EXPECT_EQ(path.Find('\\'), 2);
    EXPECT_EQ(path.Mid(path.ReverseFind('\\') + 1), "\x83\x5C.wav");
    EXPECT_EQ(CString("\x95\x5C").ReverseFind('\\'), -1);
    // Half-width katakana are single bytes in this code page.
    EXPECT_EQ(CString("\xB1\\x").Find('\\'), 1);
}

TEST(AnsiText, CaseIsFoldedOnlyForSingleByteLetters) {
    // 0x83 0x77 and 0x83 0x57 are two katakana whose trail bytes are "w" and "W".
    EXPECT_NE(CString("\x83\x77").CompareNoCase("\x83W"), 0);
    EXPECT_EQ(CString("\x83\x77").CompareNoCase("\x83\x77"), 0);
    EXPECT_EQ(CString("Take1.WAV").Right(4).CompareNoCase(".wav"), 0);
    EXPECT_NE(CString("a.\x83V").CompareNoCase("a.\x83v"), 0);
}

}  // namespace
