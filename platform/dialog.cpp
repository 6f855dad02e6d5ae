// SPDX-License-Identifier: MIT
#include "dialog.h"

#include "native_window.h"
#include "win_app.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

std::intptr_t CDialog::DoModal() {
    const DialogTemplate* dialog = FindDialogTemplate(templateId_);
    if (!dialog) return -1;
    // With no parent given, the application's main window owns the dialog.
    NativeWindow* ownerWindow = OwnerWindow(parent_, this);

    native_ = backend::CreateDialogWindow(*dialog, *this, ownerWindow);
    if (!native_) return -1;
    ended_ = false;
    result_ = -1;
    if (ownerWindow) ownerWindow->Enable(false);
    SendMessage(WM_INITDIALOG);
    if (!ended_) {
        native_->Show();
        RunModalLoop(*native_, ended_);
    }
    if (ownerWindow) ownerWindow->Enable(true);
    native_.reset();
    if (AfxGetApp() && AfxGetApp()->m_pMainWnd == this) AfxGetApp()->m_pMainWnd = nullptr;
    return result_;
}

void CDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_CLOSE:
            // The close box and the window menu's Close mean Cancel.
            return SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        default:
            return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
