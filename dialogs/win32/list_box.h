#pragma once
// List box rows in UTF-8.

#include <windows.h>

#include <string>
#include <string_view>

namespace zz {

void AddListRow(HWND list, std::string_view text);
void InsertListRow(HWND list, int index, std::string_view text);
void DeleteListRow(HWND list, int index);
std::string ListRowText(HWND list, int index);
int ListRowCount(HWND list);
// -1 when no row is selected.
int ListSelection(HWND list);
void SelectListRow(HWND list, int index);

}  // namespace zz
