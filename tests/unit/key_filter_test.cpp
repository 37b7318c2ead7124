#include "hook/key_filter.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace zz {
namespace {

// Windows' own virtual-key numbers, so that a wrong constant in the filter cannot hide.
TEST(KeyFilter, SwallowsTheWindowsKeysAndTheSystemCombinationsOnly) {
    // Swallowed or not with no modifier, Alt, Ctrl, and both; Shift plays no part. Every other
    // code passes, Ctrl+Shift+Del (0x2E) and Alt+F4 (0x73) included: the program handles them.
    const std::map<std::uint32_t, std::string> swallowed = {
        {0x5B, "1111"},  // left Windows key
        {0x5C, "1111"},  // right Windows key
        {0x1B, "0111"},  // Esc: Alt+Esc, Ctrl+Esc
        {0x09, "0101"},  // Tab: Alt+Tab; Ctrl+Tab is the program's
        {0x20, "0101"},  // Space: Alt+Space; Ctrl+Space is the program's
    };
    for (std::uint32_t vk = 0; vk <= 0x1FF; ++vk) {  // beyond one byte is no key of the table
        std::string actual;
        for (const bool ctrl : {false, true}) {
            for (const bool alt : {false, true}) {
                actual += ShouldSwallowKey(vk, alt, ctrl) ? '1' : '0';
            }
        }
        const auto rule = swallowed.find(vk);
        EXPECT_EQ(actual, rule == swallowed.end() ? "0000" : rule->second) << std::hex << vk;
    }
}

}  // namespace
}  // namespace zz
