#pragma once
// The image order dialog: the stored order with the pictures not in it yet, rearranged with
// Ctrl and the arrow keys.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "settings/text_encoding.h"

namespace zz {

struct OrderDialogRequest {
    std::string programFolder;
    std::string group;                             // whose pictures are listed
    int maxCount = 10;                             // pictures the walk looks at
    std::vector<std::string> order;                // as stored
    TextEncoding encoding = TextEncoding::kCp932;  // the settings file's
};

// After OK the order, top to bottom in the places of the entries shown, other groups' entries
// kept where they stand; none after Escape.
std::optional<std::vector<std::string>> RunOrderDialog(HWND owner,
                                                       const OrderDialogRequest& request);

}  // namespace zz
