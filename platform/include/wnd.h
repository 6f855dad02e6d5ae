// SPDX-License-Identifier: MIT
// A window as the application sees it: messages in through the message
// maps, and the handful of window operations the program calls.
#pragma once

#include "win_types.h"

#include <memory>

#include "cmd_target.h"
#include "cstring.h"
#include "progress_ctrl.h"

class CDataExchange;
class CWnd;
class NativeWindow;

// The backend's window behind a CWnd, for the platform's own code.
NativeWindow* NativeOf(const CWnd& window);

// The window menu of a dialog.
class CMenu {
public:
    explicit CMenu(NativeWindow* window) : window_(window) {}
    BOOL AppendMenu(UINT flags, UINT id = 0, LPCTSTR text = nullptr);

private:
    NativeWindow* window_;
};

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    // Routes a message through the maps, then to the default handling.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    CMenu* GetSystemMenu(BOOL revert);
    HICON SetIcon(HICON icon, BOOL big);
    void DragAcceptFiles(BOOL accept = TRUE);
    BOOL IsIconic() const;
    void GetClientRect(RECT* rect) const;
    // With no caption, the application's title is the caption.
    int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);
    void SetDlgItemText(int id, LPCTSTR text);
    CString GetDlgItemText(int id) const;
    void EnableDlgItem(int id, BOOL enable);
    BOOL IsDlgItemEnabled(int id) const;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being handled now.
    LRESULT Default();
    virtual void DoDataExchange(CDataExchange* pDX);

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    void OnDropFiles(HDROP drop);

    std::unique_ptr<NativeWindow> native_;

private:
    friend NativeWindow* NativeOf(const CWnd& window);

    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    } current_;
    std::unique_ptr<CMenu> systemMenu_;
};

class CDataExchange {
public:
    CDataExchange(CWnd* window, BOOL saveAndValidate)
        : m_pDlgWnd(window), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Control(CDataExchange* pDX, int id, CProgressCtrl& control);

// Painting a minimised window's icon.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    // The device context, as WM_ICONERASEBKGND carries it.
    WPARAM GetSafeHdc() const { return context_; }
    BOOL DrawIcon(int x, int y, HICON icon);

private:
    CWnd* window_;
    WPARAM context_ = 0;
};
