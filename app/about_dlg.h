// SPDX-License-Identifier: MIT
// The About box, from its template alone.
#pragma once

#include "dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
