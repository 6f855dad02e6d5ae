// SPDX-License-Identifier: MIT
#include "mbcs.h"

#if defined(_WIN32)  // the system's ANSI code page is a service of Windows alone
#include <windows.h>

namespace {
CodePage activePage = CodePage::kSystemAnsi;
bool IsSystemLeadByte(unsigned char b) { return IsDBCSLeadByte(b) != FALSE; }
}  // namespace
#else
namespace {
CodePage activePage = CodePage::kUtf8;
bool IsSystemLeadByte(unsigned char) { return false; }
}  // namespace
#endif

namespace {

std::size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;  // a stray continuation byte or an invalid lead stands alone
}

bool IsShiftJisLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// A program whose manifest asks for UTF-8 gets it as its ANSI code page,
// which the system's lead-byte table does not describe (UTF-8 is no
// double-byte code page): its characters are stepped over as UTF-8.
bool StepsAsUtf8() {
#if defined(_WIN32)  // only Windows has a process code page to ask
    if (activePage == CodePage::kSystemAnsi) return ::GetACP() == CP_UTF8;
#endif
    return activePage == CodePage::kUtf8;
}

bool IsLead(unsigned char b) {
    if (activePage == CodePage::kSystemAnsi) return IsSystemLeadByte(b);
    if (activePage == CodePage::kShiftJis) return IsShiftJisLead(b);
    return false;
}

}  // namespace

CodePage ActiveCodePage() { return activePage; }

void SetActiveCodePage(CodePage page) { activePage = page; }

std::size_t CharacterLength(const char* text, std::size_t available) {
    if (available == 0) return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 1;
    if (StepsAsUtf8()) {
        length = Utf8Length(lead);
        // A truncated or malformed sequence: only the lead byte counts.
        for (std::size_t i = 1; i < length; ++i) {
            if (i >= available || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
        }
    } else if (IsLead(lead)) {
        length = available >= 2 && text[1] != '\0' ? 2 : 1;
    }
    return length;
}
