// A group folder with a long Japanese name, shown in the stored order.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "settings/app_settings.h"
#include "view/picture_loader.h"

namespace zz {
namespace {

namespace stdfs = std::filesystem;

std::string Utf8(const stdfs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

struct SlotRecorder : IPictureDecoder {
    std::map<int, std::string> slots;
    bool LoadSlot(int slot, const std::string& path) override {
        slots[slot] = path.substr(path.find_last_of("\\/") + 1);
        return true;
    }
};

// The name outgrows a string's inline buffer, so a use of a destroyed copy shows under ASan.
TEST(PictureTableRobustness, InOrderALongGroupNameNumbersTheGroupsEntries) {
    const std::string group = "のりものとどうぶつのえほん";
    const stdfs::path root =
        stdfs::temp_directory_path() / ("zz-pictures-" + std::to_string(std::random_device()()));
    const stdfs::path folder = root / "images" / std::u8string(group.begin(), group.end());
    stdfs::create_directories(folder);
    std::ofstream(folder / "bus.png") << "picture";
    std::ofstream(folder / "cat.png") << "picture";

    CAppSettings soundMap(Utf8(root));
    const PictureLoadRules rules{.displayOrder = 1,
                                 .group = group,
                                 .order = {group + "\\gone.png", "other\\dog.png",
                                           group + "\\cat.png", group + "\\bus.png"}};
    SlotRecorder decoder;
    EXPECT_EQ(LoadPictureTable(SystemFileSystem(), Utf8(root), soundMap, rules, decoder).count, 2);
    EXPECT_EQ(decoder.slots, (std::map<int, std::string>{{1, "cat.png"}, {2, "bus.png"}}));

    std::error_code ignored;  // a leftover temporary folder harms nothing
    stdfs::remove_all(root, ignored);
}

}  // namespace
}  // namespace zz
