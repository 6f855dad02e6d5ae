// Multi-byte text as the locale's code page encodes it: which bytes begin a
// character and how long each character is. Searches and case-insensitive
// comparisons step through characters, so a trail byte never matches a
// separator or a letter.
#pragma once

#include <cstddef>

enum class CodePage {
    kUtf8,      // this platform's locale encoding
    kShiftJis,  // code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC, one trail byte
};

// The code page text is interpreted in; UTF-8 unless a caller chooses otherwise.
CodePage ActiveCodePage();
void SetActiveCodePage(CodePage page);

// Bytes of the character that starts at text[0], never past `available`.
std::size_t CharacterLength(const char* text, std::size_t available);
