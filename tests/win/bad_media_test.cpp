// Picture folders as a parent may fill them, loaded by the program's picture-table loading with
// the platform's decoders: what cannot be shown is skipped, and named in the stored order, and
// nothing crashes.

#include <windows.h>
// After <windows.h>: its ReplaceFile macro renames the interface's member here as it does in
// the file system's own source.
#include <gtest/gtest.h>
#include <objbase.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "framework/unicode.h"
#include "settings/app_settings.h"
#include "settings/media_library.h"
#include "view/picture_loader.h"
#include "view/win32/picture.h"

namespace zz {
namespace {

namespace stdfs = std::filesystem;

std::string TestPicture(const std::string& name) {
    std::ifstream file(std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Decodes as the view does, and notes the files that gave a picture. The file named
// victim is deleted just before it is loaded, after the folder was listed.
struct TableDecoder : IPictureDecoder {
    std::map<int, std::string> loaded;  // slot -> file name
    std::string victim;

    bool LoadSlot(int slot, const std::string& path) override {
        const std::string name = Narrow(stdfs::path(Widen(path)).filename().wstring());
        if (name == victim) {
            EXPECT_TRUE(DeleteFileW(Widen(path).c_str()));
        }
        if (!CPicture::Load(Widen(path), 1000, 2000)) {
            return false;
        }
        loaded[slot] = name;
        return true;
    }
};

constexpr const char* kLocked = "d_locked.png";
constexpr const char* kVanishing = "e_vanishing.png";
constexpr const char* kFolderNamedLikeAPicture = "x.png";
// Their code page 932 forms end in 0x5C, a backslash to code that reads them as bytes.
constexpr const char* kSo = "ソ.jpg";
constexpr const char* kHyou = "表.png";

// What cannot be shown, with its bytes, in the order the names sort.
std::vector<std::pair<std::string, std::string>> BadFiles() {
    const std::string bmp = TestPicture("picture.bmp");
    const std::string jpeg = TestPicture("picture.jpg");
    return {{"a_empty.png", ""},
            {"a_truncated.bmp", bmp.substr(0, bmp.size() / 2)},
            {"a_truncated.jpg", jpeg.substr(0, jpeg.size() / 2)},
            {"a_truncated.png", TestPicture("truncated.png")},
            {"b_text.jpg", "これは写真ではありません。\r\n"},
            {"c_huge.png", TestPicture("huge_header.png")},
            {"c_huge_jpeg.jpg", TestPicture("huge_header.jpg")},
            {kLocked, TestPicture("picture.png")},
            {kVanishing, TestPicture("picture.png")}};
}

class BadMediaTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        m_root = stdfs::temp_directory_path() /
                 ("zz_bad_media_" + std::to_string(std::random_device()()));
        const std::string bmp = TestPicture("picture.bmp");
        const std::string jpeg = TestPicture("picture.jpg");
        const std::string png = TestPicture("picture.png");
        for (const auto& [name, bytes] : BadFiles()) {
            Write(name, bytes);
        }
        Write(std::string(kFolderNamedLikeAPicture) + "/inner.jpg", jpeg);
        Write(kHyou, png);
        Write(kSo, jpeg);
        // One picture a few levels down is found; one past the walk's depth bound is not, and
        // the walk ends all the same.
        std::string deep = "f_deep";
        for (int depth = 1; depth <= kMaxWalkDepth + 5; ++depth) {
            deep += "/d";
            if (depth == 20) {
                Write(deep + "/shallow.bmp", bmp);
            }
        }
        Write(deep + "/too_deep.bmp", bmp);
        // Held open without sharing, as by another program: it cannot be read.
        m_lock.Reset(CreateFileW((m_root / "images" / kLocked).c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(m_lock);
    }

    void TearDown() override {
        m_lock.Reset();
        std::error_code ignored;  // a leftover temporary folder harms nothing
        stdfs::remove_all(m_root, ignored);
        CoUninitialize();
    }

    void Write(const std::string& rel, const std::string& bytes) {
        const stdfs::path path = m_root / "images" / Widen(rel);
        stdfs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string Root() const { return Narrow(m_root.wstring()); }

    PictureLoadResult Load(const PictureLoadRules& rules, TableDecoder& decoder) {
        return LoadPictureTable(SystemFileSystem(), Root(), CAppSettings(Root()), rules, decoder);
    }

    stdfs::path m_root;
    KernelHandle m_lock;
};

TEST_F(BadMediaTest, RandomOrderSkipsWhatCannotBeShown) {
    TableDecoder decoder;
    decoder.victim = kVanishing;
    const PictureLoadResult result = Load(PictureLoadRules(), decoder);
    EXPECT_EQ(result.count, 4);
    EXPECT_EQ(decoder.loaded, (std::map<int, std::string>{
                                  {0, "shallow.bmp"}, {1, "inner.jpg"}, {2, kSo}, {3, kHyou}}));
    EXPECT_TRUE(result.unreadableNames.empty());
}

// Also the names that hold a backslash byte and a picture inside a folder named like one; the
// folder itself, listed, is no file and gives no message.
TEST_F(BadMediaTest, StoredOrderNamesWhatCannotBeShownAndLoadsTheRest) {
    std::vector<std::string> bad;
    for (const auto& file : BadFiles()) {
        bad.push_back(file.first);
    }
    PictureLoadRules rules;
    rules.displayOrder = 1;
    rules.order = {kHyou, kFolderNamedLikeAPicture};
    rules.order.insert(rules.order.end(), bad.begin(), bad.end());
    rules.order.push_back(std::string(kFolderNamedLikeAPicture) + "\\inner.jpg");
    rules.order.push_back(kSo);
    TableDecoder decoder;
    decoder.victim = kVanishing;
    const PictureLoadResult result = Load(rules, decoder);
    EXPECT_EQ(result.unreadableNames, bad);  // in walk order, which is the names' order here
    EXPECT_EQ(decoder.loaded,
              (std::map<int, std::string>{{0, kHyou}, {11, "inner.jpg"}, {12, kSo}}));
}

}  // namespace
}  // namespace zz
