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

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;  // 0 stands for 256
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInResource;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

TEST(IconTest, ProgramIconHasAnImageForEverySizeWindowsAsksFor) {
    HRSRC found = FindResourceW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* bytes =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(ModuleInstance(), found)));
    ASSERT_NE(bytes, nullptr);
    const DWORD size = SizeofResource(ModuleInstance(), found);
    const auto* header = reinterpret_cast<const GroupIconHeader*>(bytes);
    ASSERT_GE(size, sizeof(GroupIconHeader) + header->count * sizeof(GroupIconEntry));

    std::set<int> squares;
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    for (WORD i = 0; i < header->count; ++i) {
        const int width = entries[i].width == 0 ? 256 : entries[i].width;
        const int height = entries[i].height == 0 ? 256 : entries[i].height;
        EXPECT_EQ(width, height);
        EXPECT_EQ(entries[i].bitCount, 32) << width << " pixels: full colour with alpha";
        squares.insert(width);
    }
    // Small and large icons at 100, 125, 150 and 200 % scaling, and Explorer's large views.
    for (const int wanted : {16, 20, 24, 32, 40, 48, 64, 256}) {
        EXPECT_EQ(squares.count(wanted), 1u) << "no " << wanted << " pixel image";
    }
}

}  // namespace
}  // namespace zz
