#pragma once
// A real program folder in the temporary folder, removed afterwards, named at random: the same
// test may run at once in another tree. Free of <windows.h>, whose macros would rename members
// of the file-system interface.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "settings/file_system.h"

namespace zz::test {

using Names = std::vector<std::string>;
namespace stdfs = std::filesystem;

class TempTree {
public:
    TempTree() { stdfs::create_directories(m_root); }
    ~TempTree() {
        std::error_code ignored;  // a read-only file would outlive its folder on Windows
        stdfs::permissions(Path("Zoomzap.ini"), stdfs::perms::owner_write, stdfs::perm_options::add,
                           ignored);
        stdfs::remove_all(m_root, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    std::string Root() const { return Utf8(m_root); }
    IFileSystem& Fs() { return SystemFileSystem(); }
    stdfs::path Path(const std::string& rel) const {
        return m_root / std::u8string(rel.begin(), rel.end());
    }
    // Missing parent folders are made on the way.
    void File(const std::string& rel, const std::string& bytes = "x") {
        stdfs::create_directories(Path(rel).parent_path());
        EXPECT_TRUE(std::ofstream(Path(rel), std::ios::binary) << bytes) << rel;
    }
    void Folder(const std::string& rel) { stdfs::create_directories(Path(rel)); }
    // Empty for anything but a file.
    std::string Read(const std::string& rel) const {
        std::ifstream in(Path(rel), std::ios::binary);
        return stdfs::is_regular_file(Path(rel)) ? std::string(std::istreambuf_iterator(in), {})
                                                 : std::string();
    }
    std::set<std::string> Content() const {
        std::set<std::string> names;
        for (const auto& entry : stdfs::directory_iterator(m_root)) {
            names.insert(Utf8(entry.path().filename()));
        }
        return names;
    }

private:
    static std::string Utf8(const stdfs::path& path) {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }

    stdfs::path m_root =
        stdfs::temp_directory_path() / ("zz-test-" + std::to_string(std::random_device()()) + "-" +
                                        std::to_string(std::random_device()()));
};

}  // namespace zz::test
