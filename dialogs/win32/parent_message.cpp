#include "dialogs/win32/parent_message.h"

#include "framework/module.h"
#include "framework/unicode.h"
#include "resources/resource.h"

namespace zz {

void ShowParentMessage(HWND owner, const std::string& text, UINT icon) {
    std::wstring title = LoadResourceString(IDS_APP_TITLE);
    if (title.empty()) {
        title = L"Zoomzap";
    }
    MessageBoxW(owner, Widen(text).c_str(), title.c_str(), MB_OK | icon);
}

}  // namespace zz
