#pragma once
// A real program folder in the temporary folder, for the tests of both tiers. Free of
// <windows.h>, whose macros would rename members of the file-system interface.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "settings/file_system.h"

namespace zz::test {

using Names = std::vector<std::string>;

// A real program folder in the temporary folder, removed afterwards. Named at random: the
// same test may run at once in another tree.
class TempTree {
public:
    TempTree() {
        std::random_device random;
        m_root = std::filesystem::temp_directory_path() /
                 ("zz-test-" + std::to_string(random()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(m_root);
    }
    ~TempTree() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    std::string Root() const { return Utf8(m_root); }
    IFileSystem& Fs() { return SystemFileSystem(); }

    // Missing parent folders are made on the way.
    void File(const std::string& rel) {
        const std::filesystem::path path = m_root / Native(rel);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path);
        out << "x";
        if (!out) {
            ADD_FAILURE() << "cannot make the test file " << rel;
        }
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
