#pragma once
// The start-up group picker: ten buttons laid out as a numeric keypad, one per group found,
// chosen with the mouse or a single digit key.

#include <windows.h>

#include <optional>
#include <string>

namespace zz {

struct GroupPickRequest {
    std::string programFolder;  // whose images folder holds the groups
};

// The picked group's name; none when the picker was closed without a choice.
std::optional<std::string> RunGroupPickDialog(HWND owner, const GroupPickRequest& request);

}  // namespace zz
