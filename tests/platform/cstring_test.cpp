// SPDX-License-Identifier: MIT
// Multi-byte awareness of the string class, in UTF-8 and in Shift_JIS.
#include "cstring.h"

#include <gtest/gtest.h>

#include "mbcs.h"
#include "resources.h"

namespace {

class CodePageGuard {
public:
    explicit CodePageGuard(CodePage page) : saved_(ActiveCodePage()) { SetActiveCodePage(page); }
    ~CodePageGuard() { SetActiveCodePage(saved_); }

private:
    CodePage saved_;
};

TEST(CString, ShiftJisTrailByteIsNeverTakenForABackslash) {
    CodePageGuard page(CodePage::kShiftJis);
    // "C:\ソ.wav" where ソ is 0x83 0x5C: its trail byte is the backslash code.
    const CString path("C:\\\x83\x5C.wav");
    EXPECT_EQ(path.ReverseFind('\\'), 2);
    const CString name = path.Mid(path.ReverseFind('\\') + 1);
    EXPECT_EQ(name, "\x83\x5C.wav");
    // "表" is 0x95 0x5C: a folder name ending in it has no separator at its end.
    EXPECT_EQ(CString("\x95\x5C").ReverseFind('\\'), -1);
    EXPECT_EQ(CString("a\\\x95\x5C\\b").Find('\\'), 1);
}

TEST(CString, ShiftJisTrailBytesNeverMatchLetters) {
    CodePageGuard page(CodePage::kShiftJis);
    // 0x83 0x57 and 0x83 0x77 are two katakana whose trail bytes are "W" and "w".
    EXPECT_NE(CString("\x83\x77").CompareNoCase("\x83W"), 0);  // 'w' trail vs 'W' trail
    EXPECT_EQ(CString("TAKE.WAV").Right(4).CompareNoCase(".wav"), 0);
}

TEST(CString, Utf8SearchesStepOverCharacters) {
    CodePageGuard page(CodePage::kUtf8);
    const CString path("/音声/ソ.WAV");
    EXPECT_EQ(path.Mid(path.ReverseFind('/') + 1), "ソ.WAV");
    EXPECT_EQ(path.Right(4).CompareNoCase(".wav"), 0);
    // Only single-byte letters fold: "é" (C3 A9) sorts after "É" (C3 89) by its bytes.
    EXPECT_GT(CString("é").CompareNoCase("É"), 0);
    EXPECT_LT(CString("É").CompareNoCase("é"), 0);
}

TEST(CString, LeftRightMidCountBytesAndClamp) {
    const CString s("abcdef");
    EXPECT_EQ(s.Left(2), "ab");
    EXPECT_EQ(s.Right(10), "abcdef");
    EXPECT_EQ(s.Mid(4), "ef");
    EXPECT_EQ(s.Mid(1, 2), "bc");
    EXPECT_EQ(s.Mid(9), "");
    EXPECT_EQ(CString("ab").Right(4).CompareNoCase(".wav"), CString("ab").CompareNoCase(".wav"));
    EXPECT_LT(CString("abc").CompareNoCase("ABCD"), 0);
    EXPECT_GT(CString("abd").CompareNoCase("ABC"), 0);
}

TEST(CString, LoadStringTellsWhetherThereIsText) {
    const ResourceTable table{nullptr,
                              [](UINT id) -> const char* {
                                  if (id == 7) return "七 (&S)...";
                                  return id == 8 ? "" : nullptr;
                              },
                              nullptr};
    RegisterResources(&table);
    CString s;
    EXPECT_TRUE(s.LoadString(7));
    EXPECT_EQ(s, "七 (&S)...");
    EXPECT_FALSE(s.LoadString(8));  // there, but no text
    EXPECT_TRUE(s.IsEmpty());
    s = "left over";
    EXPECT_FALSE(s.LoadString(9999));
    EXPECT_TRUE(s.IsEmpty());
    RegisterResources(nullptr);
    EXPECT_FALSE(s.LoadString(7));
}

}  // namespace
