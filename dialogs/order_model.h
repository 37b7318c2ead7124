#pragma once
// The image order dialog without its window: the list it shows, and the Ctrl+arrow moves of
// its list box.

#include <string>
#include <string_view>
#include <vector>

#include "settings/file_system.h"

namespace zz {

// The stored entries whose pictures still exist, in stored order, then the pictures of the
// group's folder that the stored list does not name, in listing order. The walk looks at no
// more than maxCount pictures; stored entries are kept even beyond that.
std::vector<std::string> BuildOrderList(const IFileSystem& fs, std::string_view programFolder,
                                        std::string_view group, int maxCount,
                                        const std::vector<std::string>& stored);

// Virtual-key codes the list box reacts to.
inline constexpr unsigned kKeyControl = 0x11;
inline constexpr unsigned kKeyUp = 0x26;
inline constexpr unsigned kKeyDown = 0x28;

enum class OrderMove { kNone, kUp, kDown };

// The Ctrl state as the list box itself sees it, from its own key messages only.
class ReorderKeys {
public:
    OrderMove OnKeyDown(unsigned key);
    void OnKeyUp(unsigned key);
    bool CtrlDown() const { return m_bCtrlDown; }

private:
    bool m_bCtrlDown = false;
};

// Where the selected item of a list of count items goes: its new index, or -1 at either end or
// without a selection, when nothing moves.
int OrderMoveTarget(int selected, int count, OrderMove move);

}  // namespace zz
