#include "framework/module.h"

namespace zz {

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

std::wstring_view ResourceText(UINT id) {
    // With a zero buffer size LoadStringW hands out the resource text itself, so no length
    // limit applies.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        return {};
    }
    return std::wstring_view(text, static_cast<size_t>(length));
}

std::wstring LoadResourceString(UINT id) {
    return std::wstring(ResourceText(id));
}

}  // namespace zz
