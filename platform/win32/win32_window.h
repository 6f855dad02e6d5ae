// What the Windows backend's other sources need of its windows.
#pragma once

#include "native_window.h"
#include "win_types.h"

// The system's handle of a window the backend made; null for none.
HWND WindowHandleOf(const NativeWindow* window);
