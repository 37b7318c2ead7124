#include "settings/media_library.h"

#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "tests/unit/memory_tree.h"
#include "tests/unit/temp_tree.h"

namespace zz {
namespace {

namespace stdfs = std::filesystem;

stdfs::path PathOf(std::string_view utf8) {
    return stdfs::path(std::u8string(utf8.begin(), utf8.end()));
}

using FakeTree = test::MemoryTree;
using RealTree = test::TempTree;

template <typename Tree>
class MediaTreeTest : public ::testing::Test {
protected:
    std::string Images() const { return ImagesFolder(tree.Root()); }

    // Relative names the walk hands out below folder, every file counted.
    std::vector<std::string> Walk(const std::string& folder, std::string_view relFolder,
                                  int bound = 100) {
        std::vector<std::string> names;
        WalkFolder(tree.Fs(), folder, relFolder, 0, bound, [&](const WalkFile& file) {
            names.emplace_back(file.relName);
            return true;
        });
        return names;
    }

    Tree tree;
};

using Trees = ::testing::Types<FakeTree, RealTree>;
TYPED_TEST_SUITE(MediaTreeTest, Trees);

using Names = std::vector<std::string>;

TYPED_TEST(MediaTreeTest, ListingIsSortedAndTellsFailureFromEmpty) {
    auto& tree = this->tree;
    for (const char* name :
         {"b.png", "Z", "a.png", "表示.png", "_x", "10.png", "A1.png", "9.png"}) {
        tree.File(std::string("images/") + name);
    }
    tree.Folder("images/Animals");
    tree.Folder("sounds");

    std::vector<FolderEntry> entries;
    ASSERT_TRUE(ListFolderSorted(tree.Fs(), this->Images(), entries));
    Names names;
    for (const FolderEntry& entry : entries) {
        names.push_back(entry.name);
        EXPECT_EQ(entry.isFolder, entry.name == "Animals") << entry.name;
    }
    // Letters fold to upper case as NTFS orders them, so "_" comes after every letter.
    EXPECT_EQ(names, (Names{"10.png", "9.png", "a.png", "A1.png", "Animals", "b.png", "Z", "_x",
                            "表示.png"}));

    entries.push_back(FolderEntry{"stale", false});
    EXPECT_TRUE(ListFolderSorted(tree.Fs(), SoundsFolder(tree.Root()), entries));
    EXPECT_TRUE(entries.empty());
    entries.push_back(FolderEntry{"stale", false});
    EXPECT_FALSE(ListFolderSorted(tree.Fs(), JoinPath(tree.Root(), "missing"), entries));
    EXPECT_TRUE(entries.empty());
}

TYPED_TEST(MediaTreeTest, WalkNamesFilesBelowTheMediaFolderDepthFirst) {
    auto& tree = this->tree;
    tree.File("images/zebra.png");
    tree.File("images/readme.txt");
    tree.File("images/animals/deep/x.png");
    tree.File("images/dog.png");
    tree.File("images/picture");
    tree.File("images/animals/cow.JPG");
    tree.File("images/old.png/y.png");
    tree.File("images/表示/ソ.png");

    std::vector<std::string> paths;
    std::vector<std::string> names;
    const int count = WalkFolder(tree.Fs(), this->Images(), "", 0, 100, [&](const WalkFile& f) {
        paths.emplace_back(f.path);
        names.emplace_back(f.name);
        return IsPictureFile(f.relName);
    });

    EXPECT_EQ(this->Walk(this->Images(), ""),
              (Names{"animals\\cow.JPG", "animals\\deep\\x.png", "dog.png", "old.png\\y.png",
                     "picture", "readme.txt", "zebra.png", "表示\\ソ.png"}));
    EXPECT_EQ(count, 6);  // all but picture and readme.txt
    ASSERT_EQ(paths.size(), 8u);
    EXPECT_EQ(paths[0], JoinPath(JoinPath(this->Images(), "animals"), "cow.JPG"));
    EXPECT_EQ(paths[7], JoinPath(JoinPath(this->Images(), "表示"), "ソ.png"));
    EXPECT_EQ(names[1], "x.png");
    EXPECT_EQ(names[7], "ソ.png");
    if constexpr (std::is_same_v<TypeParam, RealTree>) {
        for (const std::string& path : paths) {
            EXPECT_TRUE(stdfs::is_regular_file(PathOf(path))) << path;
        }
    }
}

TYPED_TEST(MediaTreeTest, BoundIsSharedByAllLevels) {
    auto& tree = this->tree;
    tree.File("images/a.png");
    tree.File("images/b/1.png");
    tree.File("images/b/2.txt");
    tree.File("images/b/c/3.png");
    tree.File("images/d.png");
    tree.File("images/e/4.png");

    const auto picturesOnly = [](const WalkFile& f) { return IsPictureFile(f.relName); };
    const std::string images = this->Images();
    EXPECT_EQ(WalkFolder(tree.Fs(), images, "", 0, 100, picturesOnly), 5);
    EXPECT_EQ(WalkFolder(tree.Fs(), images, "", 0, 3, picturesOnly), 3);
    EXPECT_EQ(WalkFolder(tree.Fs(), images, "", 3, 5, picturesOnly), 5);
    EXPECT_EQ(WalkFolder(tree.Fs(), images, "", 7, 7, picturesOnly), 7);

    // The bound reached inside b/c stops the outer levels too; unmatched files do not count.
    EXPECT_EQ(this->Walk(images, "", 3), (Names{"a.png", "b\\1.png", "b\\2.txt"}));
    Names seen;
    WalkFolder(tree.Fs(), images, "", 0, 3, [&](const WalkFile& f) {
        seen.emplace_back(f.relName);
        return IsPictureFile(f.relName);
    });
    EXPECT_EQ(seen, (Names{"a.png", "b\\1.png", "b\\2.txt", "b\\c\\3.png"}));

    EXPECT_EQ(WalkFolder(tree.Fs(), JoinPath(tree.Root(), "missing"), "", 4, 10, picturesOnly), 4);
}

TYPED_TEST(MediaTreeTest, GroupFolderNamesItsPicturesWithTheGroup) {
    auto& tree = this->tree;
    tree.File("images/dog.png");
    tree.File("images/animals/cow.JPG");
    tree.File("images/animals/calves/small.png");
    tree.File("images/どうぶつ/ソ.png");

    for (const std::string_view all : {std::string_view(), kGroupChooseAtStart}) {
        EXPECT_EQ(PictureFolder(tree.Root(), all), this->Images());
        EXPECT_EQ(PictureRelativeFolder(all), "");
    }
    const std::string animals = PictureFolder(tree.Root(), "animals");
    EXPECT_EQ(animals, JoinPath(this->Images(), "animals"));
    EXPECT_EQ(this->Walk(animals, PictureRelativeFolder("animals")),
              (Names{"animals\\calves\\small.png", "animals\\cow.JPG"}));
    EXPECT_EQ(this->Walk(PictureFolder(tree.Root(), "どうぶつ"), PictureRelativeFolder("どうぶつ")),
              (Names{"どうぶつ\\ソ.png"}));

    // A group whose folder is gone has nothing.
    EXPECT_TRUE(this->Walk(PictureFolder(tree.Root(), "birds"), "birds").empty());
}

TYPED_TEST(MediaTreeTest, NamesStayRightBelowFoldersCalledImagesOrSounds) {
    auto& tree = this->tree;
    tree.File("sounds/images/app/images/dog.png");
    tree.File("sounds/images/app/images/animals/cow.png");
    tree.File("sounds/images/app/sounds/a.wav");
    tree.File("sounds/images/app/sounds/more/b.wav");

    const std::string program =
        JoinPath(JoinPath(JoinPath(tree.Root(), "sounds"), "images"), "app");
    EXPECT_EQ(this->Walk(ImagesFolder(program), ""), (Names{"animals\\cow.png", "dog.png"}));
    EXPECT_EQ(this->Walk(PictureFolder(program, "animals"), "animals"),
              (Names{"animals\\cow.png"}));
    EXPECT_EQ(this->Walk(SoundsFolder(program), ""), (Names{"a.wav", "more\\b.wav"}));
}

TYPED_TEST(MediaTreeTest, SoundListTakesDirectFilesOnlyInListingOrder) {
    auto& tree = this->tree;
    tree.File("sounds/c.wav");
    tree.File("sounds/b.txt");
    tree.File("sounds/a.wav");
    tree.File("sounds/more/d.wav");

    const Names soundList = ListSoundNames(tree.Fs(), tree.Root(), 10);
    EXPECT_EQ(soundList, (Names{"a.wav", "b.txt", "c.wav"}));

    // The assignment dialog's list filters and enters sub-folders, so its indices can differ:
    // its c.wav is stored as 1, which the play surface takes for b.txt.
    Names dialogList;
    WalkFolder(tree.Fs(), SoundsFolder(tree.Root()), "", 0, 10, [&](const WalkFile& f) {
        if (!IsSoundFile(f.relName)) {
            return false;
        }
        dialogList.emplace_back(f.relName);
        return true;
    });
    EXPECT_EQ(dialogList, (Names{"a.wav", "c.wav", "more\\d.wav"}));

    for (int i = 1; i <= 12; ++i) {
        tree.File("sounds/s" + std::to_string(100 + i) + ".wav");
    }
    const Names bounded = ListSoundNames(tree.Fs(), tree.Root(), 10);
    ASSERT_EQ(bounded.size(), 10u);
    EXPECT_EQ(bounded.front(), "a.wav");
    EXPECT_EQ(bounded.back(), "s107.wav");
}

TYPED_TEST(MediaTreeTest, GroupsAreTheFirstTenDirectSubFolders) {
    auto& tree = this->tree;
    EXPECT_TRUE(ListGroups(tree.Fs(), tree.Root()).empty());  // no images folder at all

    tree.File("images/dog.png");
    tree.File("images/old.png/cat.png");
    tree.Folder("images/どうぶつ");
    EXPECT_EQ(ListGroups(tree.Fs(), tree.Root()), (Names{"old.png", "どうぶつ"}));

    for (int i = 12; i >= 1; --i) {
        tree.Folder("images/g" + std::to_string(100 + i));
    }
    const Names groups = ListGroups(tree.Fs(), tree.Root());
    ASSERT_EQ(groups.size(), static_cast<size_t>(kMaxGroups));
    EXPECT_EQ(groups.front(), "g101");
    EXPECT_EQ(groups.back(), "g110");
}

TYPED_TEST(MediaTreeTest, SoundMapKeepsOneIndexPerRelativeName) {
    auto& tree = this->tree;
    CAppSettings writer(tree.Root(), tree.Fs());
    EXPECT_EQ(ReadSoundIndex(writer, "animals\\dog.png"), -1);  // no key: random

    EXPECT_TRUE(WriteSoundIndex(writer, "animals\\dog.png", 2));
    EXPECT_TRUE(WriteSoundIndex(writer, "表示\\ソ.png", 7));
    EXPECT_TRUE(WriteSoundIndex(writer, "dog.png", -1));
    EXPECT_TRUE(WriteSoundIndex(writer, "cow.png", -2));

    const CAppSettings reader(tree.Root(), tree.Fs());
    EXPECT_EQ(ReadSoundIndex(reader, "animals\\dog.png"), 2);
    EXPECT_EQ(ReadSoundIndex(reader, "表示\\ソ.png"), 7);
    EXPECT_EQ(ReadSoundIndex(reader, "dog.png"), -1);
    EXPECT_EQ(ReadSoundIndex(reader, "animals\\cow.png"), -1);
    // Out-of-range values are kept as stored; only their readers take them for random.
    EXPECT_EQ(ReadSoundIndex(reader, "cow.png"), -2);
    EXPECT_EQ(ValidSoundIndex(ReadSoundIndex(reader, "表示\\ソ.png"), 5), -1);
    EXPECT_EQ(ValidSoundIndex(ReadSoundIndex(reader, "表示\\ソ.png"), 8), 7);
}

TEST(MediaLibraryFakeTest, SoundMapWriteReportsFailure) {
    FakeTree tree;
    tree.SetReadOnly(true);
    CAppSettings settings(tree.Root(), tree.Fs());
    EXPECT_FALSE(WriteSoundIndex(settings, "dog.png", 1));
    EXPECT_EQ(ReadSoundIndex(settings, "dog.png"), -1);
}

TEST(MediaLibraryFakeTest, ListingIsOrderedOnAnyFileSystem) {
    // Names that differ only in case exist together on case-sensitive systems: exact bytes
    // then decide, so the order never depends on the order the system lists them in.
    FakeTree tree;
    tree.File("sounds/dog.wav");
    tree.File("sounds/Dog.wav");
    tree.File("sounds/DOG.wav");
    tree.File("sounds/ant.wav");
    EXPECT_EQ(ListSoundNames(tree.Fs(), tree.Root(), 10),
              (Names{"ant.wav", "DOG.wav", "Dog.wav", "dog.wav"}));
    EXPECT_FALSE(NameLess("a", "a"));
    EXPECT_TRUE(NameLess("a", "ab"));
    EXPECT_FALSE(NameLess("ab", "a"));
}

TEST(MediaLibraryFakeTest, UnlistableSubFolderAddsNothing) {
    FakeTree tree;
    tree.File("images/a.png");
    tree.File("images/b/1.png");
    tree.File("images/c.png");
    tree.Lock(JoinPath(ImagesFolder(tree.Root()), "b"));

    Names names;
    const int count =
        WalkFolder(tree.Fs(), ImagesFolder(tree.Root()), "", 1, 10, [&](const WalkFile& f) {
            names.emplace_back(f.relName);
            return true;
        });
    EXPECT_EQ(names, (Names{"a.png", "c.png"}));
    EXPECT_EQ(count, 3);
}

TEST(MediaLibraryFakeTest, WalkStopsListingOnceTheBoundIsReached) {
    FakeTree tree;
    tree.File("images/a/1.png");
    tree.File("images/a/2.png");
    tree.File("images/b/3.png");
    tree.File("images/c/d/4.png");
    tree.Listed().clear();

    WalkFolder(tree.Fs(), ImagesFolder(tree.Root()), "", 0, 2,
               [](const WalkFile&) { return true; });
    const std::string images = ImagesFolder(tree.Root());
    EXPECT_EQ(tree.Listed(), (Names{images, JoinPath(images, "a")}));

    tree.Listed().clear();
    EXPECT_EQ(WalkFolder(tree.Fs(), images, "", 10, 10, [](const WalkFile&) { return true; }), 10);
    EXPECT_TRUE(tree.Listed().empty());
}

// Every folder holds a file and a folder of its own, for ever, as a folder loop does.
class EndlessFileSystem : public test::MemoryTree {
public:
    bool ListFolder(const std::string&, std::vector<FolderEntry>& entries) const override {
        entries = {FolderEntry{"f.png", false}, FolderEntry{"loop", true}};
        return true;
    }
};

TEST(MediaLibraryFakeTest, EndlessNestingEndsAtTheDepthLimit) {
    EndlessFileSystem fs;
    int depth = 0;
    const int count = WalkFolder(fs, "images", "", 0, 100000, [&](const WalkFile& f) {
        depth = static_cast<int>(std::count(f.relName.begin(), f.relName.end(), '\\'));
        return true;
    });
    EXPECT_EQ(count, kMaxWalkDepth + 1);
    EXPECT_EQ(depth, kMaxWalkDepth);
}

TEST(MediaLibraryNamesTest, FolderPartAndJoin) {
    EXPECT_EQ(FolderPart("animals\\dog.png"), "animals");
    EXPECT_EQ(FolderPart("a\\b\\c.png"), "a\\b");
    EXPECT_EQ(FolderPart("\\c.png"), "");
    EXPECT_EQ(FolderPart("dog.png"), std::nullopt);
    EXPECT_EQ(FolderPart("表示\\ソ.png"), "表示");
    EXPECT_EQ(JoinRelative("", "dog.png"), "dog.png");
    EXPECT_EQ(JoinRelative("a\\b", "c.png"), "a\\b\\c.png");
}

TEST(MediaLibraryNamesTest, ExtensionsAreTestedWithoutCaseFromTheLastDot) {
    for (const char* name : {"a.jpeg", "a.jpg", "a.jpe", "a.jfif", "a.bmp", "a.png", "PHOTO.JPG",
                             "x\\y.Png", "表示.PNG", "old.png\\z.JFIF", ".png", "a.b.bmp"}) {
        EXPECT_TRUE(IsPictureFile(name)) << name;
        EXPECT_FALSE(IsSoundFile(name)) << name;
    }
    for (const char* name : {"picture", "readme.txt", "old.png\\picture", "a.gif", "a.png.bak",
                             "a.pn", "a.pngx", "a.", "a.ｐｎｇ", "a png"}) {
        EXPECT_FALSE(IsPictureFile(name)) << name;
    }
    for (const char* name : {"a.wav", "B.WAV", "c.Wave", "more\\d.wav"}) {
        EXPECT_TRUE(IsSoundFile(name)) << name;
        EXPECT_FALSE(IsPictureFile(name)) << name;
    }
    for (const char* name : {"notes.txt", "a.wav.bak", "wav", "a.wa", "a.waves", "x.wav\\y"}) {
        EXPECT_FALSE(IsSoundFile(name)) << name;
    }
}

TEST(MediaLibraryOrderTest, SlotsCountPositionsOrGroupMembers) {
    const Names order = {"animals\\dog.png", "cat.png", "animals\\cow.png", "birds\\owl.png"};
    for (const std::string_view all : {std::string_view(), kGroupChooseAtStart}) {
        EXPECT_EQ(OrderSlot(order, "animals\\dog.png", all), 0);
        EXPECT_EQ(OrderSlot(order, "cat.png", all), 1);
        EXPECT_EQ(OrderSlot(order, "birds\\owl.png", all), 3);
    }
    EXPECT_EQ(OrderSlot(order, "animals\\dog.png", "animals"), 0);
    EXPECT_EQ(OrderSlot(order, "animals\\cow.png", "animals"), 1);
    EXPECT_EQ(OrderSlot(order, "birds\\owl.png", "birds"), 0);

    // Names are matched exactly.
    EXPECT_EQ(OrderSlot(order, "animals\\Dog.png", ""), -1);
    EXPECT_EQ(OrderSlot(order, "animals\\pig.png", "animals"), -1);
    EXPECT_EQ(OrderSlot(order, "dog.png", ""), -1);
    EXPECT_EQ(OrderSlot({}, "dog.png", ""), -1);
}

TEST(MediaLibraryOrderTest, GroupSlotsStayDistinctWithSubFolders) {
    const Names order = {
        "animals\\calves\\small.png", "ani\\x.png", "animals", "Animals\\y.png", "animals\\cow.png",
        "animals\\calves\\big.png"};
    EXPECT_EQ(OrderSlot(order, "animals\\calves\\small.png", "animals"), 0);
    EXPECT_EQ(OrderSlot(order, "animals\\cow.png", "animals"), 1);
    EXPECT_EQ(OrderSlot(order, "animals\\calves\\big.png", "animals"), 2);
    EXPECT_EQ(OrderSlot(order, "ani\\x.png", "ani"), 0);
    EXPECT_TRUE(LiesInGroup("表示\\ソ.png", "表示"));
    EXPECT_FALSE(LiesInGroup("表示", "表示"));
    EXPECT_FALSE(LiesInGroup("表示x\\a.png", "表示"));
}

TEST(MediaLibrarySoundMapTest, IndicesOutsideTheSoundListMeanRandom) {
    EXPECT_EQ(ValidSoundIndex(2, 3), 2);
    EXPECT_EQ(ValidSoundIndex(0, 3), 0);
    EXPECT_EQ(ValidSoundIndex(-1, 3), -1);
    EXPECT_EQ(ValidSoundIndex(3, 3), -1);
    EXPECT_EQ(ValidSoundIndex(5, 3), -1);
    EXPECT_EQ(ValidSoundIndex(11, 10), -1);
    EXPECT_EQ(ValidSoundIndex(-2, 3), -1);
    EXPECT_EQ(ValidSoundIndex(0, 0), -1);
    EXPECT_EQ(ValidSoundIndex(INT_MAX, 100), -1);
    EXPECT_EQ(ValidSoundIndex(INT_MIN, 100), -1);
}

}  // namespace
}  // namespace zz
