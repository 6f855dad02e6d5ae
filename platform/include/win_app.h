// SPDX-License-Identifier: MIT
// The application object and the framework's start-up: exactly one CWinApp,
// constructed as a global; AfxWinMain calls its InitInstance once and, when
// that returns FALSE, ends the program without a message loop of its own.
#pragma once

#include "cmd_target.h"
#include "cstring.h"
#include "wnd.h"

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    HICON LoadIcon(UINT id) const;
    // The look of dialogs' controls, as the system draws them anyway.
    BOOL Enable3dControlsStatic();
    // Looks for the help file named after the executable; none belongs to
    // this program, so nothing follows.
    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    CString m_pszAppName;       // the executable's name without its extension
    CString m_pszHelpFilePath;  // beside the executable, ending ".HLP"

    DECLARE_MESSAGE_MAP()

private:
    friend int AfxWinMain(int argc, char** argv);
    void SetNamesFromExecutable(const char* argv0);
    bool nameGiven_;
};

CWinApp* AfxGetApp();
LPCTSTR AfxGetAppName();
// Support for hosting controls in dialogs; no dialog here hosts one.
void AfxEnableControlContainer();

int AfxWinMain(int argc, char** argv);
