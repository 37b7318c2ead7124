#include "dialogs/win32/parent_message.h"

#include "framework/message_box.h"
#include "framework/unicode.h"
#include "resources/dialog_ids.h"

namespace zz {

void ShowNamesMessage(HWND owner, UINT textId, const std::vector<std::string>& names, UINT style) {
    std::wstring lines;
    for (const std::string& name : names) {
        lines += FormatResourceString(IDS_NAME_LINE, Widen(name));
    }
    ShowMessage(owner, textId, lines, style);
}

}  // namespace zz
