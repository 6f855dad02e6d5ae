// SPDX-License-Identifier: MIT
// Files dropped from the file manager: the drop handle lists their local
// paths in order.
#pragma once

#include "win_types.h"

#include <string>
#include <vector>

#if !defined(_WIN32)  // on Windows the shell's own drop handle and calls serve
struct DropList {
    std::vector<std::string> paths;
};

// With index 0xFFFFFFFF: the number of files. With a null buffer: the
// length of that path. Otherwise copies the path, cut to fit and ended by a
// zero byte, and returns the bytes copied.
UINT DragQueryFileA(HDROP drop, UINT index, LPTSTR buffer, UINT size);
void DragFinish(HDROP drop);
#endif
