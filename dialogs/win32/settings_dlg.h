#pragma once
// The settings dialog: works on its own copy of the settings, opens the media folders and
// the order, group and sound assignment dialogs, and saves everything on OK.

#include <windows.h>

#include <optional>
#include <string>

namespace zz {

struct SettingsDialogRequest {
    std::string programFolder;  // whose settings file and media folders
};

struct SettingsDialogResult {
    // The pictures may differ: the view loads them again.
    bool mediaChanged = false;
};

// After OK, once the settings file holds what the parent set; none after Cancel. Sounds
// assigned meanwhile are stored whichever way the dialog ends.
std::optional<SettingsDialogResult> RunSettingsDialog(HWND owner,
                                                      const SettingsDialogRequest& request);

}  // namespace zz
