#pragma once
// The group selection dialog: all groups, the start-up choice, or one of the groups found.

#include <windows.h>

#include <optional>
#include <string>

#include "settings/text_encoding.h"

namespace zz {

struct GroupSelectRequest {
    std::string programFolder;
    std::string group;  // the value to show
    // The settings file's, to tell groups apart that it would store under one name.
    TextEncoding encoding = TextEncoding::kCp932;
};

// The chosen group value after OK (the request's own when no radio was checked); none after
// Cancel.
std::optional<std::string> RunGroupSelectDialog(HWND owner, const GroupSelectRequest& request);

}  // namespace zz
