#pragma once
// Telling the parent something from a dialog: a message box over it, captioned with the
// application's title.

#include <windows.h>

#include <string>

namespace zz {

void ShowParentMessage(HWND owner, const std::string& text, UINT icon);

}  // namespace zz
