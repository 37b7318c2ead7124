#pragma once
// The sound assignment dialog: every picture with its sound, every sound, and "割り付け" to
// pair the selected ones. It writes nothing; the caller stores the result.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace zz {

struct SoundAssignRequest {
    std::string programFolder;
    int maxCount = 10;  // pictures and sounds listed
};

struct SoundAssignResult {
    std::vector<std::string> pictureNames;
    std::vector<int> assignments;  // per picture its sound index, -1 for random
};

// The pictures with their sounds after OK, every listed picture's; none after Cancel.
std::optional<SoundAssignResult> RunSoundAssignDialog(HWND owner,
                                                      const SoundAssignRequest& request);

}  // namespace zz
