// SPDX-License-Identifier: MIT
#include "normalize_app.h"

#include "normalize_dlg.h"
#include "program_resources.h"

CNormalizeApp::CNormalizeApp() { RegisterResources(&ProgramResources()); }

BEGIN_MESSAGE_MAP(CNormalizeApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL CNormalizeApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CNormalizeDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // No message loop of our own: the program ends with its dialog.
    return FALSE;
}
