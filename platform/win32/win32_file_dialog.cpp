// SPDX-License-Identifier: MIT
// The open-file dialog on its own platform: the system's common dialog
// fills the caller's buffer directly, in the Explorer layout.
#include <string>

#include "file_dialog.h"
#include "win32_window.h"
#include "win_app.h"

namespace {

// The framework's hook: the dialog comes up centred on its owner.
UINT_PTR CALLBACK CenterOnOwner(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE) {
        CenterWindow(::GetParent(hook));
    }
    return 0;
}

}  // namespace

std::intptr_t CFileDialog::DoModal() {
    if (!m_ofn.lpstrFile || m_ofn.nMaxFile == 0) return IDCANCEL;
    // "Name|patterns|...||" becomes the system's zero-separated list.
    std::string filter = filter_.Bytes();
    for (char& c : filter) {
        if (c == '|') c = '\0';
    }
    CWnd* owner = parent_ ? parent_ : (AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = owner ? WindowHandleOf(owner->Native()) : nullptr;
    m_ofn.hInstance = ::GetModuleHandleA(nullptr);
    m_ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    // A hooked dialog is resizable only when asked to be.
    m_ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLESIZING;
    m_ofn.lpfnHook = &CenterOnOwner;
    // A selection that does not fit the buffer fails with FNERR_BUFFERTOOSMALL
    // and leaves the size it needed there: nothing is chosen then.
    const BOOL chosen = ::GetOpenFileNameA(&m_ofn);
    m_ofn.lpstrFilter = nullptr;
    if (!chosen) {
        m_ofn.lpstrFile[0] = '\0';
        return IDCANCEL;
    }
    return IDOK;
}
