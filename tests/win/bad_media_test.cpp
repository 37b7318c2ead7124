// Picture folders as a parent may fill them, loaded by the program's picture-table loading with
// the platform's decoders: what cannot be shown is skipped in random order and named in the
// stored order, and nothing crashes.

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

stdfs::path PathOf(std::string_view utf8) {
    return stdfs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const stdfs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The test pictures are 64 x 48 (tools/make_test_pictures.sh).
std::string TestPicture(const std::string& name) {
    std::ifstream file(std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Fills a table of pictures as the view does, and notes the files it was given.
struct TableDecoder : IPictureDecoder {
    std::array<CPicture, kPictureSlots> pictures;
    std::map<int, std::string> loaded;  // slot -> file name

    bool LoadSlot(int slot, const std::string& path) override {
        pictures[slot] = CPicture::Load(Widen(path), 1000, 2000);
        if (!pictures[slot]) {
            return false;
        }
        loaded[slot] = Utf8(PathOf(path).filename());
        return true;
    }
};

// The real file system, except that one file (if named) is deleted once its folder has been
// listed.
class VanishingFileSystem : public IFileSystem {
public:
    VanishingFileSystem(std::string folder, std::string victim)
        : m_folder(std::move(folder)), m_victim(std::move(victim)) {}

    bool ReadFile(const std::string& path, std::string& bytes) const override {
        return SystemFileSystem().ReadFile(path, bytes);
    }
    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        return SystemFileSystem().ReplaceFile(path, bytes);
    }
    bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const override {
        const bool listed = SystemFileSystem().ListFolder(path, entries);
        if (path == m_folder && !m_victim.empty()) {
            EXPECT_TRUE(DeleteFileW(Widen(m_victim).c_str()));
        }
        return listed;
    }

private:
    std::string m_folder;
    std::string m_victim;
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
constexpr const char* kDeepFolder = "f_deep";
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
        Write(kEmpty, "");
        const std::string bmp = TestPicture("picture.bmp");
        Write(kTruncatedBmp, bmp.substr(0, bmp.size() / 2));
        const std::string jpeg = TestPicture("picture.jpg");
        Write(kTruncatedJpeg, jpeg.substr(0, jpeg.size() / 2));
        Write(kTruncatedPng, TestPicture("truncated.png"));
        Write(kText, "これは写真ではありません。\r\n");
        Write(kHuge, TestPicture("huge_header.png"));
        Write(kHugeJpeg, TestPicture("huge_header.jpg"));
        Write(kLocked, TestPicture("picture.png"));
        Write(kVanishing, TestPicture("picture.png"));
        Write(std::string(kFolderNamedLikeAPicture) + "/inner.jpg", TestPicture("picture.jpg"));
        Write(kHyou, TestPicture("picture.png"));
        Write(kSo, TestPicture("picture.jpg"));
        // One picture a few levels down is found; one past the walk's depth bound is not, and
        // the walk ends all the same.
        std::string deep = kDeepFolder;
        for (int depth = 1; depth <= kMaxWalkDepth + 5; ++depth) {
            deep += "/d";
            if (depth == 20) {
                Write(deep + "/shallow.bmp", TestPicture("picture.bmp"));
            }
        }
        Write(deep + "/too_deep.bmp", TestPicture("picture.bmp"));
        // Held open without sharing, as by another program: it cannot be read.
        m_lock.Reset(CreateFileW(Images(kLocked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(m_lock);
    }

    void TearDown() override {
        m_lock.Reset();
        std::error_code ignored;  // a leftover temporary folder harms nothing
        stdfs::remove_all(m_root, ignored);
        CoUninitialize();
    }

    void Write(const std::string& rel, const std::string& bytes) {
        const stdfs::path path = m_root / "images" / PathOf(rel);
        stdfs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::wstring Images(const std::string& rel) const {
        return (m_root / "images" / PathOf(rel)).wstring();
    }

    std::string Root() const { return Utf8(m_root); }

    PictureLoadResult Load(const IFileSystem& fs, const PictureLoadRules& rules,
                           TableDecoder& decoder) {
        const CAppSettings soundMap(Root());
        return LoadPictureTable(fs, Root(), soundMap, rules, decoder);
    }

    stdfs::path m_root;
    KernelHandle m_lock;
};

TEST_F(BadMediaTest, RandomOrderSkipsWhatCannotBeShown) {
    // Sound indices stored under the two names whose code page 932 bytes hold a backslash.
    CAppSettings settings(Root());
    ASSERT_TRUE(WriteSoundIndex(settings, kHyou, 1));
    ASSERT_TRUE(WriteSoundIndex(settings, kSo, 0));

    const VanishingFileSystem fs(Utf8(m_root / "images"), Utf8(m_root / "images" / kVanishing));
    PictureLoadRules rules;
    rules.soundCount = 2;
    TableDecoder decoder;
    const PictureLoadResult result = Load(fs, rules, decoder);

    EXPECT_EQ(result.count, 4);
    EXPECT_EQ(decoder.loaded, (std::map<int, std::string>{
                                  {0, "shallow.bmp"}, {1, "inner.jpg"}, {2, kSo}, {3, kHyou}}));
    EXPECT_TRUE(result.undecodableName.empty());
    EXPECT_EQ(result.sounds[2], 0);
    EXPECT_EQ(result.sounds[3], 1);
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(decoder.pictures[slot].Width(), 64) << slot;
        EXPECT_EQ(decoder.pictures[slot].Height(), 48) << slot;
    }
}

TEST_F(BadMediaTest, StoredOrderNamesTheFirstFileThatCannotBeShown) {
    for (const char* bad : {kEmpty, kTruncatedBmp, kTruncatedJpeg, kTruncatedPng, kText, kHuge,
                            kHugeJpeg, kLocked, kVanishing}) {
        SCOPED_TRACE(bad);
        const VanishingFileSystem fs(
            Utf8(m_root / "images"),
            bad == kVanishing ? Utf8(m_root / "images" / kVanishing) : std::string());
        PictureLoadRules rules;
        rules.displayOrder = 1;
        rules.order = {kHyou, bad, kSo};
        TableDecoder decoder;
        const PictureLoadResult result = Load(fs, rules, decoder);
        EXPECT_EQ(result.undecodableName, bad);
        // The walk meets the bad file first and stops there.
        EXPECT_TRUE(decoder.loaded.empty());
    }
}

TEST_F(BadMediaTest, StoredOrderLoadsNamesThatHoldABackslashByteAndSkipsFolders) {
    PictureLoadRules rules;
    rules.displayOrder = 1;
    rules.order = {kFolderNamedLikeAPicture, kSo,
                   std::string(kFolderNamedLikeAPicture) + "\\inner.jpg", kHyou};
    TableDecoder decoder;
    const PictureLoadResult result = Load(SystemFileSystem(), rules, decoder);
    EXPECT_TRUE(result.undecodableName.empty());
    EXPECT_EQ(result.count, 3);
    EXPECT_EQ(decoder.loaded, (std::map<int, std::string>{{1, kSo}, {2, "inner.jpg"}, {3, kHyou}}));
}

}  // namespace
}  // namespace zz
