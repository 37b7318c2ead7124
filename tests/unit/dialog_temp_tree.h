#pragma once
// A real program folder in the temporary folder, for the dialog tests of both tiers. Free of
// <windows.h>, whose macros would rename members of the file-system interface.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zz::test {

using Names = std::vector<std::string>;

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
