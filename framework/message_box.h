#pragma once
// Every message the program shows: a text of the string table, its one %s filled in, in a box
// captioned with the application's title.

#include <windows.h>

#include <string>
#include <string_view>

namespace zz {

// String id of the application's title, the caption of every message box.
inline constexpr UINT kAppTitleStringId = 57344;

// The string resource with its first %s replaced by argument; empty when the resource is missing.
std::wstring FormatResourceString(UINT textId, std::wstring_view argument = {});

// MessageBoxW's answer (IDOK, IDYES, ...), or 0 when the box could not be shown.
int ShowMessage(HWND owner, UINT textId, std::wstring_view argument = {},
                UINT style = MB_OK | MB_ICONEXCLAMATION);

}  // namespace zz
