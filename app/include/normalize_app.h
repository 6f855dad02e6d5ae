// SPDX-License-Identifier: MIT
// The application object: starts the main dialog and ends with it.
#pragma once

#include "win_app.h"

class CNormalizeApp : public CWinApp {
public:
    // Hands the program's resources to the platform.
    CNormalizeApp();
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
