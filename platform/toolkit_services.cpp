// SPDX-License-Identifier: MIT
// What every backend other than the system's own answers alike: resources
// come from the table the application registered, an icon is 32 pixels
// square, and the program's file is the path it was started by.
#include "native_window.h"

namespace backend {

HICON LoadIconResource(UINT id) { return FindIconResource(id); }

bool LoadStringResource(UINT id, std::string& text) {
    const char* found = FindStringResource(id);
    if (!found) return false;
    text = found;
    return true;
}

std::string ExecutablePath(const char* argv0) { return argv0 ? argv0 : ""; }

}  // namespace backend

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        default:
            return 0;
    }
}
