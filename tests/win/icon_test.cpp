// The program's icon: an image of its own at every size Windows asks for, so that nothing is
// scaled from a neighbour and blurred.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <set>

#include "framework/module.h"
#include "resources/resource.h"

namespace zz {
namespace {

TEST(IconTest, ProgramIconHasAnImageForEverySizeWindowsAsksFor) {
    HRSRC found = FindResourceW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* bytes =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(ModuleInstance(), found)));
    const DWORD size = SizeofResource(ModuleInstance(), found);
    // A six-byte header ending in the count, then fourteen bytes per image: width, height (0
    // for 256), colour count, reserved, planes, bits per pixel, ...
    ASSERT_TRUE(bytes != nullptr && size >= 6);
    const int count = bytes[4] | bytes[5] << 8;
    ASSERT_GE(size, 6u + 14u * count);
    std::set<int> squares;
    for (const std::uint8_t* entry = bytes + 6; entry < bytes + 6 + 14 * count; entry += 14) {
        const int width = entry[0] == 0 ? 256 : entry[0];
        EXPECT_EQ(entry[0], entry[1]) << width << " pixels: square";
        EXPECT_EQ(entry[6] | entry[7] << 8, 32) << width << " pixels: full colour with alpha";
        squares.insert(width);
    }
    // Small and large icons at 100, 125, 150 and 200 % scaling, and Explorer's large views.
    for (const int wanted : {16, 20, 24, 32, 40, 48, 64, 256}) {
        EXPECT_EQ(squares.count(wanted), 1u) << "no " << wanted << " pixel image";
    }
}

}  // namespace
}  // namespace zz
