#pragma once
// Dots per inch of the monitor a window is on.

#include <windows.h>

namespace zz {

// The window's DPI where the system tracks it per monitor (Windows 10 1607 and later), else
// the screen's; 96 when neither can be told.
int WindowDpi(HWND window);

}  // namespace zz
