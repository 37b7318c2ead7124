#pragma once
// The program's own module and the resources in it.

#include <windows.h>

#include <string>

namespace zz {

// The executable's module: every resource of the program lives in it.
HINSTANCE ModuleInstance();

// String resource id, empty when it is missing.
std::wstring LoadResourceString(UINT id);

}  // namespace zz
