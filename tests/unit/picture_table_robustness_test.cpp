// Picture folders as parents name them: a group folder with a long Japanese name, shown in the
// stored order.

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

stdfs::path PathOf(std::string_view utf8) {
    return stdfs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const stdfs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

struct SlotRecorder : IPictureDecoder {
    std::map<int, std::string> slots;
    bool LoadSlot(int slot, const std::string& path) override {
        slots[slot] = Utf8(PathOf(path).filename());
        return true;
    }
};

// The group's name outgrows a string's inline buffer, so that a copy of it lives on the heap
// and any use of a copy that is gone shows in the sanitizer tree.
TEST(PictureTableRobustness, InOrderALongGroupNameNumbersTheGroupsEntries) {
    const std::string group = "のりものとどうぶつのえほん";
    const stdfs::path root =
        stdfs::temp_directory_path() / ("zz-pictures-" + std::to_string(std::random_device()()));
    stdfs::create_directories(root / "images" / PathOf(group));
    for (const char* name : {"bus.png", "cat.png"}) {
        std::ofstream(root / "images" / PathOf(group) / name) << "picture";
    }

    CAppSettings soundMap(Utf8(root));
    PictureLoadRules rules;
    rules.displayOrder = 1;
    rules.group = group;
    rules.order = {group + "\\gone.png", "other\\dog.png", group + "\\cat.png",
                   group + "\\bus.png"};
    SlotRecorder decoder;
    const PictureLoadResult result =
        LoadPictureTable(SystemFileSystem(), Utf8(root), soundMap, rules, decoder);
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(decoder.slots, (std::map<int, std::string>{{1, "cat.png"}, {2, "bus.png"}}));

    std::error_code ignored;  // a leftover temporary folder harms nothing
    stdfs::remove_all(root, ignored);
}

}  // namespace
}  // namespace zz
