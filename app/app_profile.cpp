#include "app/app_profile.h"

#include <vector>

#include "app/registry.h"

namespace zz {

CAppProfile::CAppProfile(HKEY root, const std::string& registryKey, const std::string& appName)
    : m_hRoot(root), m_strKeyPath("Software\\" + registryKey + "\\" + appName) {}

void CAppProfile::LoadRecentFiles(CRecentFileList& list) const {
    const RegistryKey key = OpenRegistryKey(m_hRoot, m_strKeyPath + "\\" + kRecentFileSection);
    if (!key) {
        list.Load({});
        return;
    }
    std::vector<std::string> entries;
    // A gap in the numbering does not end the list: later entries are still the user's.
    for (size_t i = 0; i < list.MaxEntries(); ++i) {
        entries.push_back(ReadRegistryString(key.Get(), CRecentFileList::ValueName(i)));
    }
    list.Load(entries);
}

bool CAppProfile::SaveRecentFiles(const CRecentFileList& list) const {
    const RegistryKey key = CreateRegistryKey(m_hRoot, m_strKeyPath + "\\" + kRecentFileSection);
    if (!key) {
        return false;
    }
    const std::vector<std::string>& entries = list.Entries();
    bool saved = true;
    for (size_t i = 0; i < list.MaxEntries(); ++i) {
        const std::string name = CRecentFileList::ValueName(i);
        saved = (i < entries.size() ? WriteRegistryString(key.Get(), name, entries[i])
                                    : DeleteRegistryValue(key.Get(), name)) &&
                saved;
    }
    return saved;
}

}  // namespace zz
