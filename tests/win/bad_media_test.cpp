// Picture folders as a parent may fill them, loaded by the program's picture-table loading with
// the platform's decoders: what cannot be shown is skipped, and named in the stored order, and
// nothing crashes.

#include <windows.h>
// After <windows.h>: its ReplaceFile macro renames the interface's member here as it does in
// the file system's own source.
#include <gtest/gtest.h>
#include <objbase.h>

#include <array>
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

// The test pictures are 64 x 48 (tools/make_test_pictures.sh).
std::string TestPicture(const std::string& name) {
    std::ifstream file(std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Fills a table of pictures as the view does, and notes the files it was given. The file named
// victim is deleted just before it is loaded, after the folder was listed.
struct TableDecoder : IPictureDecoder {
    std::array<CPicture, kPictureSlots> pictures;
    std::map<int, std::string> loaded;  // slot -> file name
    std::string victim;

    bool LoadSlot(int slot, const std::string& path) override {
        const std::string name = Narrow(stdfs::path(Widen(path)).filename().wstring());
        if (name == victim) {
            EXPECT_TRUE(DeleteFileW(Widen(path).c_str()));
        }
        pictures[slot] = CPicture::Load(Widen(path), 1000, 2000);
        if (!pictures[slot]) {
            return false;
        }
        loaded[slot] = name;
        return true;
    }
};

// Names sort in this order (ソ before 表 in UTF-8); the files that can be shown are in the
// last four entries.
constexpr const char* kEmpty = "a_empty.png";
constexpr const char* kTruncatedBmp = "a_truncated.bmp";
constexpr const char* kTruncatedJpeg = "a_truncated.jpg";
constexpr const char* kTruncatedPng = "a_truncated.png";
constexpr const char* kText = "b_text.jpg";
constexpr const char* kHuge = "c_huge.png";
constexpr const char* kHugeJpeg = "c_huge_jpeg.jpg";
constexpr const char* kLocked = "d_locked.png";
constexpr const char* kVanishing = "e_vanishing.png";
constexpr const char* kFolderNamedLikeAPicture = "x.png";
// Their code page 932 forms end in 0x5C, a backslash to code that reads them as bytes.
constexpr const char* kSo = "ソ.jpg";
constexpr const char* kHyou = "表.png";

class BadMediaTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        m_root = stdfs::temp_directory_path() /
                 ("zz_bad_media_" + std::to_string(std::random_device()()));
        const std::string bmp = TestPicture("picture.bmp");
        const std::string jpeg = TestPicture("picture.jpg");
        const std::string png = TestPicture("picture.png");
        Write(kEmpty, "");
        Write(kTruncatedBmp, bmp.substr(0, bmp.size() / 2));
        Write(kTruncatedJpeg, jpeg.substr(0, jpeg.size() / 2));
        Write(kTruncatedPng, TestPicture("truncated.png"));
        Write(kText, "これは写真ではありません。\r\n");
        Write(kHuge, TestPicture("huge_header.png"));
        Write(kHugeJpeg, TestPicture("huge_header.jpg"));
        Write(kLocked, png);
        Write(kVanishing, png);
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
    // Sound indices stored under the two names whose code page 932 bytes hold a backslash.
    CAppSettings settings(Root());
    ASSERT_TRUE(WriteSoundIndex(settings, kHyou, 1));
    ASSERT_TRUE(WriteSoundIndex(settings, kSo, 0));

    PictureLoadRules rules;
    rules.soundCount = 2;
    TableDecoder decoder;
    decoder.victim = kVanishing;
    const PictureLoadResult result = Load(rules, decoder);

    EXPECT_EQ(result.count, 4);
    EXPECT_EQ(decoder.loaded, (std::map<int, std::string>{
                                  {0, "shallow.bmp"}, {1, "inner.jpg"}, {2, kSo}, {3, kHyou}}));
    EXPECT_TRUE(result.unreadableNames.empty());
    EXPECT_EQ(result.sounds[2], 0);
    EXPECT_EQ(result.sounds[3], 1);
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(decoder.pictures[slot].Width(), 64) << slot;
        EXPECT_EQ(decoder.pictures[slot].Height(), 48) << slot;
    }
}

TEST_F(BadMediaTest, StoredOrderNamesWhatCannotBeShownAndLoadsTheRest) {
    const std::vector<std::string> bad = {kEmpty,        kTruncatedBmp, kTruncatedJpeg,
                                          kTruncatedPng, kText,         kHuge,
                                          kHugeJpeg,     kLocked,       kVanishing};
    PictureLoadRules rules;
    rules.settings.displayOrder = DisplayOrder::kStored;
    rules.settings.pictureOrder = {kHyou};
    rules.settings.pictureOrder.insert(rules.settings.pictureOrder.end(), bad.begin(), bad.end());
    rules.settings.pictureOrder.push_back(kSo);
    TableDecoder decoder;
    decoder.victim = kVanishing;
    const PictureLoadResult result = Load(rules, decoder);
    EXPECT_EQ(result.unreadableNames, bad);  // in walk order, which is the names' order here
    EXPECT_EQ(decoder.loaded, (std::map<int, std::string>{{0, kHyou}, {10, kSo}}));
}

TEST_F(BadMediaTest, StoredOrderLoadsNamesThatHoldABackslashByteAndSkipsFolders) {
    PictureLoadRules rules;
    rules.settings.displayOrder = DisplayOrder::kStored;
    rules.settings.pictureOrder = {kFolderNamedLikeAPicture, kSo,
                                   std::string(kFolderNamedLikeAPicture) + "\\inner.jpg", kHyou};
    TableDecoder decoder;
    const PictureLoadResult result = Load(rules, decoder);
    EXPECT_TRUE(result.unreadableNames.empty());
    EXPECT_EQ(result.count, 3);
    EXPECT_EQ(decoder.loaded, (std::map<int, std::string>{{1, kSo}, {2, "inner.jpg"}, {3, kHyou}}));
}

}  // namespace
}  // namespace zz
