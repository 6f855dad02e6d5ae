// SPDX-License-Identifier: MIT
// The system's open-file dialog. The selection is laid out in the caller's
// buffer the Explorer way: one full path for a single choice; otherwise the
// folder, then each name, each ended by a zero byte, and an empty string at
// the end. GetNextPathName walks it.
#pragma once

#include "win_types.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cstring.h"

class CWnd;

#if !defined(_WIN32)  // the system's own structure on Windows
// The fields of the system's structure that this program uses.
struct OPENFILENAME {
    DWORD Flags = 0;
    LPTSTR lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    LPCTSTR lpstrDefExt = nullptr;
};
#endif

// What the open-file dialog is asked, as the backend (or an automation's
// stand-in) sees it.
struct FileFilter {
    std::string name;
    std::string patterns;  // "*.wav", "*.*"
};

struct OpenFileRequest {
    std::vector<FileFilter> filters;
    std::string defaultExtension;
    bool multipleSelection = false;
    DWORD flags = 0;  // the caller's OFN_ flags, for a backend that hands them on
    // The caller's buffer size: a selection that would not fit in it the
    // Explorer way is no selection.
    std::size_t bufferSize = 0;
};

// Where GetNextPathName goes on; 0 when there is nothing more.
using POSITION = std::size_t;

class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, LPCTSTR defaultExtension = nullptr, LPCTSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                CWnd* parent = nullptr);

    // IDOK only when the user confirmed and the whole selection fitted the buffer.
    std::intptr_t DoModal();
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& position) const;

    OPENFILENAME m_ofn{};

private:
    bool LayOut(const std::vector<std::string>& paths);

    CString filter_;
    CString defaultExtension_;
    CWnd* parent_;
    char ownBuffer_[260] = {};
};
