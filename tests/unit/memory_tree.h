#pragma once
// A program folder in memory for tests of the portable core.

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/file_system.h"

namespace zz::test {

// A program folder in memory, listed in the order its entries were made, not sorted. Paths
// inside are given with "/" between parts.
class MemoryTree : public IFileSystem {
public:
    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& rel) const {
        std::string path = m_root;
        size_t start = 0;
        while (start <= rel.size()) {
            const size_t slash = rel.find('/', start);
            path = JoinPath(path, rel.substr(start, slash - start));
            if (slash == std::string::npos) {
                break;
            }
            start = slash + 1;
        }
        return path;
    }

    IFileSystem& Fs() { return *this; }

    // Missing parent folders are made on the way.
    void File(const std::string& rel) { Add(rel, false); }
    void Folder(const std::string& rel) { Add(rel, true); }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // A folder that exists but cannot be listed.
    void Lock(const std::string& path) { m_locked.insert(path); }
    // Files replaced so far.
    int Replaced() const { return m_nReplaced; }
    // Every folder listed so far, in order.
    std::vector<std::string>& Listed() { return m_listed; }

    bool ReadFile(const std::string& path, std::string& bytes) const override {
        const auto it = m_contents.find(path);
        if (it == m_contents.end()) {
            return false;
        }
        bytes = it->second;
        return true;
    }
    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        if (m_readOnly) {
            return false;
        }
        m_contents[path] = std::string(bytes);
        ++m_nReplaced;
        return true;
    }
    bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const override {
        m_listed.push_back(path);
        const auto it = m_folders.find(path);
        if (it == m_folders.end() || m_locked.contains(path)) {
            return false;
        }
        entries = it->second;
        return true;
    }

private:
    void Add(const std::string& rel, bool isFolder) {
        std::string folder = m_root;
        size_t start = 0;
        while (true) {
            const size_t slash = rel.find('/', start);
            const std::string part = rel.substr(start, slash - start);
            const bool last = slash == std::string::npos;
            const std::string path = JoinPath(folder, part);
            auto& entries = m_folders[folder];
            const bool known = std::any_of(entries.begin(), entries.end(),
                                           [&](const FolderEntry& e) { return e.name == part; });
            if (!known) {
                entries.push_back(FolderEntry{part, !last || isFolder});
            }
            if (!last || isFolder) {
                m_folders.try_emplace(path);
            }
            if (last) {
                return;
            }
            folder = path;
            start = slash + 1;
        }
    }

#ifdef _WIN32
    std::string m_root = "C:\\prog";
#else
    std::string m_root = "/prog";
#endif
    std::map<std::string, std::vector<FolderEntry>> m_folders{{m_root, {}}};
    std::map<std::string, std::string> m_contents;
    std::set<std::string> m_locked;
    bool m_readOnly = false;
    int m_nReplaced = 0;
    mutable std::vector<std::string> m_listed;
};

}  // namespace zz::test
