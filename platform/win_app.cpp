// SPDX-License-Identifier: MIT
#include "win_app.h"

#include <sys/stat.h>

#include "native_window.h"

namespace {

CWinApp* theApplication = nullptr;

}  // namespace

CWinApp::CWinApp(LPCTSTR appName) : m_pszAppName(appName), nameGiven_(appName != nullptr) {
    theApplication = this;
}

CWinApp::~CWinApp() {
    if (theApplication == this) theApplication = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

HICON CWinApp::LoadIcon(UINT id) const { return backend::LoadIconResource(id); }

BOOL CWinApp::Enable3dControlsStatic() { return TRUE; }

void CWinApp::OnHelp() {
    struct stat st {};
    if (m_pszHelpFilePath.IsEmpty() || ::stat(m_pszHelpFilePath, &st) != 0) return;
    // A help file of the old format has no viewer on this platform.
}

void CWinApp::SetNamesFromExecutable(const char* argv0) {
    CString path(argv0 ? argv0 : "");
    const CString file = path.Mid(path.ReverseFind(kPathSeparator) + 1);
    const int dot = file.ReverseFind('.');
    const CString stem = dot > 0 ? file.Left(dot) : file;
    if (!nameGiven_) m_pszAppName = stem;
    const int extension = path.ReverseFind('.');
    const int separator = path.ReverseFind(kPathSeparator);
    m_pszHelpFilePath = (extension > separator ? path.Left(extension) : path) + CString(".HLP");
}

CWinApp* AfxGetApp() { return theApplication; }

LPCTSTR AfxGetAppName() { return theApplication ? theApplication->m_pszAppName.GetString() : ""; }

void AfxEnableControlContainer() {}

int AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (!app || !backend::Initialize(argc, argv)) return 1;
    app->SetNamesFromExecutable(backend::ExecutablePath(argc > 0 ? argv[0] : nullptr).c_str());
    // A program that returns TRUE would enter a loop of its own here; this
    // one runs everything inside its modal dialog.
    app->InitInstance();
    return app->ExitInstance();
}
