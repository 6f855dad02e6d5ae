// SPDX-License-Identifier: MIT
// Text through the ANSI calls, where the program's literals and paths
// live: UTF-8 in whatever locale the system runs, since the program's
// manifest asks for it.
#include "win_types.h"

#include <gtest/gtest.h>

#include <string>

#include "cstring.h"
#include "mbcs.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

// The system's own conversion, not the code under test.
std::string Utf8Of(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

TEST(AnsiText, NamesOutsideTheLocalesCodePageReachTheFileSystemWhole) {
    ASSERT_EQ(::GetACP(), UINT{CP_UTF8});
    ASSERT_EQ(ActiveCodePage(), CodePage::kSystemAnsi);
    TempDir dir;
    for (const wchar_t* name : {L"Ωmega ☃ 日本.wav", L"café.wav", L"𝄞 clef.wav"}) {
        const std::string path = dir.File(Utf8Of(name));
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << Utf8Of(name);
        ::CloseHandle(file);
        // The name the file system holds, read back in UTF-16.
        WIN32_FIND_DATAW found{};
        const std::wstring pattern =
            std::wstring(dir.Path().begin(), dir.Path().end()) + L"\\*.wav";
        bool seen = false;
        HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
        ASSERT_NE(search, INVALID_HANDLE_VALUE);
        do {
            seen = seen || std::wstring(found.cFileName) == name;
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        EXPECT_TRUE(seen) << Utf8Of(name);
        EXPECT_TRUE(::DeleteFileA(path.c_str())) << Utf8Of(name);
    }
}

// Every character there is, followed by a separator and a letter: the
// separator is found right after the character, and the letter is compared
// as a letter. (A code page with lead bytes in 0x81-0x9F would take the
// separator after "с", 0xD1 0x81, as a trail byte.)
TEST(AnsiText, NoCharacterHidesABackslashOrALetter) {
    int wrong = 0;
    std::string firstWrong;
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        std::wstring wide;
        if (c < 0x10000) {
            wide += static_cast<wchar_t>(c);
        } else {
            wide += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
        const std::string character = Utf8Of(wide);
        const CString path((character + "\\A").c_str());
        const int at = static_cast<int>(character.size());
        const bool right = path.Find('\\') == at && path.ReverseFind('\\') == at &&
                           path.Mid(at + 1) == "A" &&
                           path.CompareNoCase((character + "\\a").c_str()) == 0;
        if (!right && wrong++ == 0) firstWrong = character;
    }
    EXPECT_EQ(wrong, 0) << "first at \"" << firstWrong << "\"";
}

TEST(AnsiText, CaseIsFoldedOnlyForSingleByteLetters) {
    struct Row {
        const char* name;
        const char* a;
        const char* b;
        bool equal;
    };
    const Row rows[] = {
        {"extension of a Greek and Japanese name", "Ωmega ☃ 日本.WAV", "Ωmega ☃ 日本.wav", true},
        {"Latin letters fold around an accented one", "CAFé.WAV", "café.wav", true},
        {"accented capitals are not ASCII letters", "CAFÉ.WAV", "café.wav", false},
        {"Greek capitals neither", "ΩMEGA", "ωMEGA", false},
        {"a longer name differs", "café.wav", "café.wav2", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CString(row.a).CompareNoCase(row.b) == 0, row.equal) << row.name;
    }
    EXPECT_EQ(CString("Ωmega ☃ 日本.WAV").Right(4).CompareNoCase(".wav"), 0);
}

}  // namespace
