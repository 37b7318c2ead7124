#pragma once
// Telling the parent about names the dialogs cannot take: a text of the string table with the
// names below it, one to a line.

#include <windows.h>

#include <string>
#include <vector>

namespace zz {

void ShowNamesMessage(HWND owner, UINT textId, const std::vector<std::string>& names, UINT style);

}  // namespace zz
