// SPDX-License-Identifier: MIT
#include "native_window.h"
#include "win_app.h"

namespace {

AutomationSeam* automation = nullptr;

}  // namespace

void InstallAutomation(AutomationSeam* seam) { automation = seam; }

AutomationSeam* InstalledAutomation() { return automation; }

int MessageBoxOwnedBy(NativeWindow* owner, const CString& text, const CString& caption, UINT type) {
    ShowWaitingProgress();
    int result = 0;
    if (automation && automation->AnswerMessageBox(text, caption, type, result)) return result;
    return backend::MessageBox(owner, text, caption, type);
}

bool ChooseFilesOwnedBy(NativeWindow* owner, const OpenFileRequest& request,
                        std::vector<std::string>& paths) {
    ShowWaitingProgress();
    bool chosen = false;
    if (automation && automation->AnswerOpenFile(request, paths, chosen)) return chosen;
    return backend::ChooseFilesToOpen(owner, request, paths);
}

NativeWindow* OwnerWindow(CWnd* parent, const CWnd* self) {
    CWnd* owner = parent;
    if (!owner && AfxGetApp() && AfxGetApp()->m_pMainWnd != self) owner = AfxGetApp()->m_pMainWnd;
    return owner ? NativeOf(*owner) : nullptr;
}
