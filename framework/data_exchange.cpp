#include "framework/data_exchange.h"

#include "framework/unicode.h"

namespace zz {

namespace {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Narrow(text);
}

bool IsDropDownList(HWND combo) {
    return (GetWindowLongW(combo, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
}

}  // namespace

std::string GetItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, std::string_view text) {
    SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

bool GetCheck(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void SetCheck(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

int GetRadioIndex(HWND dialog, int firstId, int count) {
    for (int index = 0; index < count; ++index) {
        if (IsDlgButtonChecked(dialog, firstId + index) == BST_CHECKED) {
            return index;
        }
    }
    return -1;
}

void SetRadioIndex(HWND dialog, int firstId, int index, int count) {
    for (int i = 0; i < count; ++i) {
        CheckDlgButton(dialog, firstId + i, i == index ? BST_CHECKED : BST_UNCHECKED);
    }
}

void AddComboItem(HWND dialog, int id, std::string_view text) {
    SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

std::string GetComboText(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    if (!IsDropDownList(combo)) {
        return WindowText(combo);
    }
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) {
        return {};
    }
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied == CB_ERR ? 0 : copied));
    return Narrow(text);
}

void SetComboText(HWND dialog, int id, std::string_view text) {
    HWND combo = GetDlgItem(dialog, id);
    const std::wstring wide = Widen(text);
    const LRESULT found = SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wide.c_str()));
    if (found != CB_ERR) {
        return;
    }
    if (IsDropDownList(combo)) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    } else {
        SetWindowTextW(combo, wide.c_str());
    }
}

}  // namespace zz
