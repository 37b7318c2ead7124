#include "app/recent_file_list.h"

#include <algorithm>

#include "settings/ascii.h"

namespace zz {

namespace {

// Windows file names ignore the case of Latin letters; other characters are compared as they are.
bool SameFile(const std::string& a, const std::string& b) {
    auto same = [](char x, char y) {
        const char lx = AsciiLower(x), ly = AsciiLower(y);
        return lx == ly || ((lx == '/' || lx == '\\') && (ly == '/' || ly == '\\'));
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), same);
}

}  // namespace

void CRecentFileList::Load(const std::vector<std::string>& entries) {
    m_entries.clear();
    for (const std::string& entry : entries) {
        const bool known = std::any_of(m_entries.begin(), m_entries.end(),
                                       [&](const std::string& e) { return SameFile(e, entry); });
        if (!entry.empty() && !known && m_entries.size() < m_nMaxEntries) {
            m_entries.push_back(entry);
        }
    }
}

void CRecentFileList::Add(const std::string& path) {
    if (path.empty() || m_nMaxEntries == 0) {
        return;
    }
    std::erase_if(m_entries, [&](const std::string& e) { return SameFile(e, path); });
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > m_nMaxEntries) {
        m_entries.resize(m_nMaxEntries);
    }
}

std::string CRecentFileList::ValueName(size_t index) {
    return "File" + std::to_string(index + 1);
}

}  // namespace zz
