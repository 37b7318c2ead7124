// A picture folder as a parent may fill it, loaded in the stored order with the platform's
// decoders: each listed file that cannot be shown is named once, its slot stays empty, the
// pictures after it load, and nothing crashes.

#include <windows.h>
// After <windows.h>: its ReplaceFile macro renames the interface's member here as it does in
// the file system's own source.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/com_init.h"
#include "framework/handles.h"
#include "framework/unicode.h"
#include "settings/app_settings.h"
#include "view/picture_loader.h"
#include "view/win32/picture.h"
#include "tests/support/temp_tree.h"

namespace zz {
namespace {

std::string TestPicture(const std::string& name) {
    std::ifstream file(std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

constexpr const char* kVanishing = "e_vanishing.png";

// Decodes as the view does, and notes the files that gave a picture. One file is deleted just
// before it is loaded, after the folder was listed.
struct TableDecoder : IPictureDecoder {
    std::map<int, std::string> loaded;  // slot -> file name

    bool LoadSlot(int slot, const std::string& path) override {
        const std::string name = Narrow(std::filesystem::path(Widen(path)).filename().wstring());
        if (name == kVanishing) {
            EXPECT_TRUE(DeleteFileW(Widen(path).c_str()));
        }
        if (!CPicture::Load(Widen(path), 1000, 2000)) {
            return false;
        }
        loaded[slot] = name;
        return true;
    }
};

TEST(BadMediaTest, StoredOrderNamesWhatCannotBeShownAndLoadsTheRest) {
    const ComInitialization com(ComInitialization::Kind::kApartment);
    ASSERT_TRUE(com.Started());
    const std::string bmp = TestPicture("picture.bmp");
    const std::string jpeg = TestPicture("picture.jpg");
    const std::string png = TestPicture("picture.png");
    // In the order the names sort. The huge JPEG and the cut PNG crash Wine's own decoders.
    const std::pair<std::string, std::string> bad[] = {
        {"a_empty.png", ""},
        {"a_truncated.bmp", bmp.substr(0, bmp.size() / 2)},
        {"a_truncated.png", TestPicture("truncated.png")},
        {"b_text.jpg", "これは写真ではありません。\r\n"},
        {"c_huge_jpeg.jpg", TestPicture("huge_header.jpg")},
        {"d_locked.png", png},
        {kVanishing, png}};
    test::TempTree tree;
    std::vector<std::string> badNames;
    for (const auto& [name, bytes] : bad) {
        tree.File("images/" + name, bytes);
        badNames.push_back(name);
    }
    // The code page 932 forms of 表 and ソ end in 0x5C, a backslash to code that reads them as
    // bytes. A listed folder named like a picture is no file and gives no message.
    tree.File("images/表.png", png);
    tree.File("images/ソ.jpg", jpeg);
    tree.File("images/x.png/in.jpg", jpeg);
    PictureLoadRules rules;
    rules.settings.displayOrder = DisplayOrder::kStored;
    rules.settings.pictureOrder = badNames;
    rules.settings.pictureOrder.insert(rules.settings.pictureOrder.end(),
                                       {"表.png", "x.png", "x.png\\in.jpg", "ソ.jpg"});
    // Held open without sharing, as by another program: it cannot be read.
    const KernelHandle lock(CreateFileW(tree.Path("images/d_locked.png").c_str(), GENERIC_READ, 0,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    TableDecoder decoder;
    const PictureLoadResult result =
        LoadPictureTable(tree.Fs(), tree.Root(), CAppSettings(tree.Root()), rules, decoder);
    EXPECT_EQ(result.unreadableNames, badNames);  // in walk order, which is the names' order here
    EXPECT_EQ(decoder.loaded,
              (std::map<int, std::string>{{7, "表.png"}, {9, "in.jpg"}, {10, "ソ.jpg"}}));
}

}  // namespace
}  // namespace zz
