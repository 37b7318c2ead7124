#pragma once
// The image order dialog without its window: the list it shows, and the Ctrl+arrow moves of
// its list box.

#include <string>
#include <string_view>
#include <vector>

#include "settings/file_system.h"
#include "settings/text_encoding.h"

namespace zz {

// What the dialog makes of each entry of the stored order.
enum class StoredEntry {
    kShown,  // listed: its picture exists in the dialog's folder
    kGone,   // of the dialog's folder, but its picture is gone: left out
    kKept,   // another group's: not listed, and kept where it stands
};

struct OrderListing {
    // The stored entries that are shown, in stored order and by the names the pictures have
    // now, then the pictures of the group's folder that the stored list does not name, in
    // listing order.
    std::vector<std::string> rows;
    std::vector<StoredEntry> stored;  // one per stored entry
};

// The walk looks at no more than maxCount pictures; stored entries are shown even beyond
// that. Stored names are matched in the form a settings file of this encoding holds them.
OrderListing BuildOrderList(const IFileSystem& fs, std::string_view programFolder,
                            std::string_view group, int maxCount,
                            const std::vector<std::string>& stored, TextEncoding encoding);

// The order after OK: rows, top to bottom, take the places of the shown entries, and rows
// beyond them go to the end; gone entries are left out, and every other group's entry keeps
// its place.
std::vector<std::string> MergeOrder(const std::vector<std::string>& stored,
                                    const OrderListing& listing,
                                    const std::vector<std::string>& rows);

// The first row that a settings file of this encoding would store under one name with others,
// then those others: their order could not be told apart. Empty when there is none.
std::vector<std::string> OrderCollisions(const std::vector<std::string>& rows,
                                         TextEncoding encoding);

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

private:
    bool m_bCtrlDown = false;
};

// Where the selected item of a list of count items goes: its new index, or -1 at either end or
// without a selection, when nothing moves.
int OrderMoveTarget(int selected, int count, OrderMove move);

}  // namespace zz
