#pragma once
// The list of recently opened files, newest first, as the shell's profile keeps it.

#include <string>
#include <vector>

namespace zz {

class CRecentFileList {
public:
    explicit CRecentFileList(size_t maxEntries) : m_nMaxEntries(maxEntries) {}

    // Takes over stored entries in their order; empty ones and repeats are dropped.
    void Load(const std::vector<std::string>& entries);

    // Puts path first; an entry naming the same file, in any letter case, moves up instead of
    // appearing twice. The oldest entry falls off when the list is full.
    void Add(const std::string& path);

    const std::vector<std::string>& Entries() const { return m_entries; }
    size_t MaxEntries() const { return m_nMaxEntries; }

    // The profile value names of the entries: "File1", "File2", ...
    static std::string ValueName(size_t index);

private:
    size_t m_nMaxEntries;
    std::vector<std::string> m_entries;
};

}  // namespace zz
