#pragma once
// The fixed identities of the program's automation class object and its document interface.

#include <windows.h>

namespace zz {

// {7A23AB85-429D-4B22-BF08-F6F0CCFDA4AE}
inline constexpr CLSID kClsidZoomzapDocument = {
    0x7a23ab85, 0x429d, 0x4b22, {0xbf, 0x08, 0xf6, 0xf0, 0xcc, 0xfd, 0xa4, 0xae}};
// {C93CC25C-068D-460A-88AB-592C012FCBB6}: a dispatch interface with no members.
inline constexpr IID kIidZoomzapDocument = {
    0xc93cc25c, 0x068d, 0x460a, {0x88, 0xab, 0x59, 0x2c, 0x01, 0x2f, 0xcb, 0xb6}};

}  // namespace zz
