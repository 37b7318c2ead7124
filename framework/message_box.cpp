#include "framework/message_box.h"

#include "framework/module.h"

namespace zz {

std::wstring FormatResourceString(UINT textId, std::wstring_view argument) {
    std::wstring text = LoadResourceString(textId);
    if (const size_t at = text.find(L"%s"); at != std::wstring::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}

int ShowMessage(HWND owner, UINT textId, std::wstring_view argument, UINT style) {
    const std::wstring text = FormatResourceString(textId, argument);
    std::wstring caption = LoadResourceString(kAppTitleStringId);
    if (caption.empty()) {
        caption = L"Zoomzap";  // a program without its resources still says who speaks
    }
    return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

}  // namespace zz
