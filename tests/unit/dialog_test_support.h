#pragma once
// Program folders for the dialog tests: in memory, listed in the order entries were made, or
// real ones in a temporary folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/file_system.h"

namespace zz::test {

using Names = std::vector<std::string>;

// A program folder in memory. Paths inside are given with "/" between parts.
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

    void File(const std::string& rel) { Add(rel, false); }
    void Folder(const std::string& rel) { Add(rel, true); }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }

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
        return true;
    }
    bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const override {
        const auto it = m_folders.find(path);
        if (it == m_folders.end()) {
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
    bool m_readOnly = false;
};

// A real program folder in the temporary folder, removed afterwards.
class TempTree {
public:
    TempTree() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = std::filesystem::temp_directory_path() /
                 (std::string("zz_dialog_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root);
    }
    ~TempTree() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    std::string Root() const { return Utf8(m_root); }

    void File(const std::string& rel) {
        const std::filesystem::path path = m_root / Native(rel);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }
    void Folder(const std::string& rel) {
        std::filesystem::create_directories(m_root / Native(rel));
    }

private:
    static std::filesystem::path Native(const std::string& rel) {
        return std::filesystem::path(std::u8string(rel.begin(), rel.end()));
    }
    static std::string Utf8(const std::filesystem::path& path) {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }

    std::filesystem::path m_root;
};

}  // namespace zz::test
