// SPDX-License-Identifier: MIT
// Multi-byte text as the locale's code page encodes it: which bytes begin a
// character and how long each character is. Searches and case-insensitive
// comparisons step through characters, so a trail byte never matches a
// separator or a letter.
#pragma once

#include <cstddef>

enum class CodePage {
    kUtf8,        // the locale encoding on Linux
    kShiftJis,    // code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC, one trail byte
    kSystemAnsi,  // Windows: the process's ANSI code page (UTF-8, or lead bytes as the system
                  // reports them)
};

// The code page text is interpreted in: the system's ANSI code page on
// Windows, UTF-8 elsewhere, unless a caller chooses otherwise.
CodePage ActiveCodePage();
void SetActiveCodePage(CodePage page);

// Bytes of the character that starts at text[0], never past `available`.
std::size_t CharacterLength(const char* text, std::size_t available);
