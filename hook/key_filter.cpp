#include "hook/key_filter.h"

namespace zz {

bool ShouldSwallowKey(std::uint32_t vkCode, bool altDown, bool ctrlDown) {
    switch (vkCode) {
        case kVkLeftWindows:
        case kVkRightWindows:
            return true;
        case kVkEscape:
            return ctrlDown || altDown;
        case kVkTab:
        case kVkSpace:
            return altDown;
        default:
            return false;
    }
}

}  // namespace zz
