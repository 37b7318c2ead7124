#pragma once
// The program's own module and the resources in it.

#include <windows.h>

#include <string>
#include <string_view>

namespace zz {

// The executable's module: every resource of the program lives in it.
HINSTANCE ModuleInstance();

// A string resource where the module holds it, for as long as the program runs: nothing is
// copied, so a paint can show it. Empty when it is missing.
std::wstring_view ResourceText(UINT id);

// A copy of the string resource, empty when it is missing.
std::wstring LoadResourceString(UINT id);

}  // namespace zz
