// SPDX-License-Identifier: MIT
// What the Windows backend's other sources need of its windows.
#pragma once

#include "win_types.h"

#include "native_window.h"

// The system's handle of a window the backend made; null for none.
HWND WindowHandleOf(const NativeWindow* window);
// Whether the window is one of the program's own dialogs (and not one that
// the system made, such as a message box or the open-file dialog).
bool IsProgramDialog(HWND window);
// As the framework centres a dialog: over its owner, or on the work area
// when it has none (or a hidden or minimised one), kept inside the work area.
void CenterWindow(HWND window);
