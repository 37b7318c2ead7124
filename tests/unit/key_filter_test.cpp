#include "hook/key_filter.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zz {
namespace {

struct Modifiers {
    bool alt;
    bool ctrl;
};

constexpr Modifiers kAllModifiers[] = {{false, false}, {true, false}, {false, true}, {true, true}};

TEST(KeyFilter, WindowsKeysAreSwallowedWithAnyModifier) {
    for (const Modifiers m : kAllModifiers) {
        EXPECT_TRUE(ShouldSwallowKey(kVkLeftWindows, m.alt, m.ctrl)) << m.alt << m.ctrl;
        EXPECT_TRUE(ShouldSwallowKey(kVkRightWindows, m.alt, m.ctrl)) << m.alt << m.ctrl;
    }
}

TEST(KeyFilter, SystemCombinationsAreSwallowed) {
    EXPECT_TRUE(ShouldSwallowKey(kVkEscape, false, true));  // Ctrl+Esc
    EXPECT_TRUE(ShouldSwallowKey(kVkTab, true, false));     // Alt+Tab
    EXPECT_TRUE(ShouldSwallowKey(kVkEscape, true, false));  // Alt+Esc
    EXPECT_TRUE(ShouldSwallowKey(kVkSpace, true, false));   // Alt+Space
    // An extra Ctrl does not make a combination harmless.
    EXPECT_TRUE(ShouldSwallowKey(kVkTab, true, true));
    EXPECT_TRUE(ShouldSwallowKey(kVkEscape, true, true));
    EXPECT_TRUE(ShouldSwallowKey(kVkSpace, true, true));
}

TEST(KeyFilter, KeysAloneAndHarmlessCombinationsPass) {
    // Tab, Esc and Space alone; Shift is not an input, so Shift+Esc is Esc alone.
    EXPECT_FALSE(ShouldSwallowKey(kVkTab, false, false));
    EXPECT_FALSE(ShouldSwallowKey(kVkEscape, false, false));
    EXPECT_FALSE(ShouldSwallowKey(kVkSpace, false, false));
    // Ctrl+Tab and Ctrl+Space belong to the program.
    EXPECT_FALSE(ShouldSwallowKey(kVkTab, false, true));
    EXPECT_FALSE(ShouldSwallowKey(kVkSpace, false, true));
}

TEST(KeyFilter, KeysTheProgramHandlesItselfPass) {
    constexpr std::uint32_t kVkDelete = 0x2E;
    constexpr std::uint32_t kVkF4 = 0x73;
    EXPECT_FALSE(ShouldSwallowKey(kVkDelete, false, true));  // Ctrl+Shift+Del leaves guard mode
    EXPECT_FALSE(ShouldSwallowKey(kVkF4, true, false));      // Alt+F4, refused by the main frame
}

TEST(KeyFilter, NoOtherKeyIsEverSwallowed) {
    for (std::uint32_t vk = 0; vk <= 0xFF; ++vk) {
        if (vk == kVkLeftWindows || vk == kVkRightWindows || vk == kVkEscape || vk == kVkTab ||
            vk == kVkSpace) {
            continue;
        }
        for (const Modifiers m : kAllModifiers) {
            EXPECT_FALSE(ShouldSwallowKey(vk, m.alt, m.ctrl)) << vk << m.alt << m.ctrl;
        }
    }
    // Codes beyond one byte are not keys of the table either.
    EXPECT_FALSE(ShouldSwallowKey(0x100 | kVkLeftWindows, true, true));
}

}  // namespace
}  // namespace zz
