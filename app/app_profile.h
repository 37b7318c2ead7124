#pragma once
// The shell's own per-user values in the registry: only the recent-file list. The program's
// settings live in its settings file, not here.

#include <windows.h>

#include <string>

#include "app/recent_file_list.h"

namespace zz {

class CAppProfile {
public:
    // Values live in root\"Software\<registryKey>\<appName>".
    CAppProfile(HKEY root, const std::string& registryKey, const std::string& appName);

    void LoadRecentFiles(CRecentFileList& list) const;
    // False when the list could not be stored.
    bool SaveRecentFiles(const CRecentFileList& list) const;

private:
    HKEY m_hRoot;
    std::string m_strKeyPath;
};

// Where the recent-file list lives below the profile key.
inline constexpr const char* kRecentFileSection = "Recent File List";

}  // namespace zz
