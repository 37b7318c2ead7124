#pragma once
// A program folder in memory: listed in the order its entries were made, not sorted; paths
// inside are given with "/" between parts, and missing parent folders are made on the way.

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/file_system.h"

namespace zz::test {

using Names = std::vector<std::string>;

class MemoryTree : public IFileSystem {
public:
    const std::string& Root() const { return m_root; }
    // A file listed without content cannot be read.
    void File(const std::string& rel) { Add(rel, false); }
    void Folder(const std::string& rel) { Add(rel, true); }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    void Lock(const std::string& folder) { m_locked.insert(folder); }  // cannot be listed
    int Replaced() const { return m_nReplaced; }
    Names& Listed() { return m_listed; }  // every folder listed so far, in order

    bool ReadFile(const std::string& path, std::string& bytes) const override {
        const auto it = m_contents.find(path);
        return it != m_contents.end() && (bytes = it->second, true);
    }
    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        m_nReplaced += m_readOnly ? 0 : 1;
        return !m_readOnly && (m_contents[path] = bytes, true);
    }
    bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const override {
        m_listed.push_back(path);
        const auto it = m_folders.find(path);
        return it != m_folders.end() && !m_locked.contains(path) && (entries = it->second, true);
    }

private:
    void Add(const std::string& rel, bool isFolder) {
        std::string folder = m_root;
        for (size_t start = 0, slash = 0; slash != std::string::npos; start = slash + 1) {
            slash = rel.find('/', start);
            const std::string part = rel.substr(start, slash - start);
            const bool folderEntry = slash != std::string::npos || isFolder;
            std::vector<FolderEntry>& entries = m_folders[folder];
            if (std::none_of(entries.begin(), entries.end(),
                             [&](const FolderEntry& e) { return e.name == part; })) {
                entries.push_back(FolderEntry{part, folderEntry});
            }
            folder = JoinPath(folder, part);
            if (folderEntry) {
                m_folders.try_emplace(folder);
            }
        }
    }

    std::string m_root = JoinPath(kPathSeparator == '/' ? "/" : "C:\\", "prog");
    std::map<std::string, std::vector<FolderEntry>> m_folders{{m_root, {}}};
    std::map<std::string, std::string> m_contents;
    std::set<std::string> m_locked;
    bool m_readOnly = false;
    int m_nReplaced = 0;
    mutable Names m_listed;
};

}  // namespace zz::test
