// SPDX-License-Identifier: MIT
// A modal dialog built from its template: DoModal creates the window, calls
// OnInitDialog and runs the dialog's own loop until EndDialog; OK and Cancel
// have their standard handling.
#pragma once

#include "wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    virtual std::intptr_t DoModal();
    // Inside a running handler this only records the result: the loop ends,
    // and the window goes, once that handler has returned.
    void EndDialog(int result);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    UINT templateId_;
    CWnd* parent_;
    bool ended_ = false;
    int result_ = -1;
};
