#pragma once
// Moving values between dialog controls and members, in UTF-8.

#include <windows.h>

#include <string>
#include <string_view>

namespace zz {

std::string GetItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, std::string_view text);

bool GetCheck(HWND dialog, int id);
void SetCheck(HWND dialog, int id, bool checked);

// Radio buttons with consecutive ids from firstId: the index of the checked one, -1 for none.
int GetRadioIndex(HWND dialog, int firstId, int count = 2);
// Checks the button at index and clears the others; -1 clears them all.
void SetRadioIndex(HWND dialog, int firstId, int index, int count = 2);

void AddComboItem(HWND dialog, int id, std::string_view text);
// The selected item's text; for a combo box with an edit field, the text typed there.
std::string GetComboText(HWND dialog, int id);
// Selects the first item that begins with text, ignoring case (an empty text selects the
// first item). Without such an item a combo
// box with an edit field shows text there; a drop-down list is left without a selection.
void SetComboText(HWND dialog, int id, std::string_view text);

}  // namespace zz
