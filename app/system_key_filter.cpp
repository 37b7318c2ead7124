#include "app/system_key_filter.h"

#include <utility>

namespace zz {

namespace {

constexpr std::uint32_t kVkMenu = 0x12;  // either Alt key
constexpr std::uint32_t kVkF4 = 0x73;

}  // namespace

bool SystemKeyFilter::Drops(const KeyMessage& key) {
    if (key.vk == kVkMenu) {
        if (key.down) {
            // A fresh Alt starts over: the release of an earlier one may never have come.
            if (!key.autoRepeat) {
                m_bAltUsedUnseen = false;
            }
            return false;
        }
        // Whatever message the release comes as: after another key it is no system key.
        return std::exchange(m_bAltUsedUnseen, false);
    }
    if (key.down && key.system && key.vk == kVkF4) {
        m_bAltUsedUnseen = true;
        return true;
    }
    return false;
}

void SystemKeyFilter::Consumed(const KeyMessage& key) {
    if (key.down && key.system && key.vk != kVkMenu) {
        m_bAltUsedUnseen = true;
    }
}

}  // namespace zz
