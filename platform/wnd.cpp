// SPDX-License-Identifier: MIT
#include "wnd.h"

#include "native_window.h"
#include "win_app.h"

CWnd::CWnd() = default;

CWnd::~CWnd() = default;

NativeWindow* NativeOf(const CWnd& window) { return window.native_.get(); }

BOOL CMenu::AppendMenu(UINT flags, UINT id, LPCTSTR text) {
    if (!window_) return FALSE;
    window_->AppendSystemMenu(flags, id, CString(text));
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const CurrentMessage saved = current_;
    current_ = {message, wParam, lParam};
    const LRESULT result = WindowProc(message, wParam, lParam);
    current_ = saved;
    return result;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!native_) return FALSE;
    native_->Post(message, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (DispatchThroughMap(message, wParam, lParam, result)) return result;
    // Commands nobody in the window handles go on to the application.
    if (message == WM_COMMAND && AfxGetApp() &&
        AfxGetApp()->DispatchThroughMap(message, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return native_ ? native_->DefaultHandling(message, wParam, lParam) : 0;
}

LRESULT CWnd::Default() {
    return DefWindowProc(current_.message, current_.wParam, current_.lParam);
}

void CWnd::DoDataExchange(CDataExchange*) {}

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

void CWnd::OnPaint() { Default(); }

void CWnd::OnDropFiles(HDROP) { Default(); }

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    if (!native_) return FALSE;
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

CMenu* CWnd::GetSystemMenu(BOOL /*revert*/) {
    if (!native_) return nullptr;
    if (!systemMenu_) systemMenu_ = std::make_unique<CMenu>(native_.get());
    return systemMenu_.get();
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    if (native_) native_->SetIcon(icon, big != FALSE);
    return icon;
}

void CWnd::DragAcceptFiles(BOOL accept) {
    if (native_) native_->AcceptDrops(accept != FALSE);
}

BOOL CWnd::IsIconic() const { return native_ && native_->IsMinimized(); }

void CWnd::GetClientRect(RECT* rect) const {
    if (rect) *rect = native_ ? native_->ClientRect() : RECT{};
}

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
    const CString title = caption ? CString(caption) : CString(AfxGetAppName());
    if (native_) native_->Enable(false);
    const int result = MessageBoxOwnedBy(native_.get(), CString(text), title, type);
    if (native_) native_->Enable(true);
    return result;
}

void CWnd::SetDlgItemText(int id, LPCTSTR text) {
    if (!native_) return;
    // A text pushed to the screen shows with the bars as they are now.
    ShowWaitingProgress();
    native_->SetItemText(id, CString(text));
}

CString CWnd::GetDlgItemText(int id) const {
    return native_ ? native_->GetItemText(id) : CString();
}

void CWnd::EnableDlgItem(int id, BOOL enable) {
    if (native_) native_->EnableItem(id, enable != FALSE);
}

BOOL CWnd::IsDlgItemEnabled(int id) const { return native_ && native_->IsItemEnabled(id); }

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    if (pDX->m_bSaveAndValidate) {
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
    } else if (!(pDX->m_pDlgWnd->GetDlgItemText(id) == value)) {
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
    }
}

void DDX_Control(CDataExchange* pDX, int id, CProgressCtrl& control) {
    NativeWindow* native = NativeOf(*pDX->m_pDlgWnd);
    if (native && control.GetView() == nullptr) control.Attach(native->ProgressBar(id));
}

CPaintDC::CPaintDC(CWnd* window) : window_(window) {
    if (NativeOf(*window_)) context_ = NativeOf(*window_)->BeginPaint();
}

CPaintDC::~CPaintDC() {
    if (NativeOf(*window_)) NativeOf(*window_)->EndPaint();
}

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
    if (!NativeOf(*window_) || !icon) return FALSE;
    NativeOf(*window_)->DrawIcon(x, y, icon);
    return TRUE;
}
