// SPDX-License-Identifier: MIT
#include "about_dlg.h"

#include "resource_ids.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
