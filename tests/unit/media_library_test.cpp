#include "settings/media_library.h"

#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "tests/unit/memory_tree.h"
#include "tests/unit/temp_tree.h"

namespace zz {
namespace {

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

TYPED_TEST(MediaTreeTest, WalkNamesFilesDepthFirstAndAGroupByItsFolder) {
    auto& tree = this->tree;
    for (const char* name : {"zebra.png", "readme.txt", "animals/deep/x.png", "dog.png", "picture",
                             "animals/cow.JPG", "old.png/y.png", "表示/ソ.png"}) {
        tree.File(std::string("images/") + name);
    }
    Names relNames;
    std::string lastPath;
    std::string lastName;
    const int count = WalkFolder(tree.Fs(), this->Images(), "", 0, 100, [&](const WalkFile& f) {
        relNames.emplace_back(f.relName);
        lastPath = f.path;
        lastName = f.name;
        return IsPictureFile(f.relName);
    });
    EXPECT_EQ(relNames,
              (Names{"animals\\cow.JPG", "animals\\deep\\x.png", "dog.png", "old.png\\y.png",
                     "picture", "readme.txt", "zebra.png", "表示\\ソ.png"}));
    EXPECT_EQ(count, 6);  // all but picture and readme.txt
    EXPECT_EQ(lastPath, JoinPath(JoinPath(this->Images(), "表示"), "ソ.png"));
    EXPECT_EQ(lastName, "ソ.png");

    for (const std::string_view all : {std::string_view(), kGroupChooseAtStart}) {
        EXPECT_EQ(PictureFolder(tree.Root(), all), this->Images());
        EXPECT_EQ(PictureRelativeFolder(all), "");
    }
    EXPECT_EQ(this->Walk(PictureFolder(tree.Root(), "表示"), PictureRelativeFolder("表示")),
              (Names{"表示\\ソ.png"}));
    EXPECT_TRUE(this->Walk(PictureFolder(tree.Root(), "birds"), "birds").empty());
}

TYPED_TEST(MediaTreeTest, BoundIsSharedByAllLevels) {
    auto& tree = this->tree;
    for (const char* name : {"a.png", "b/1.png", "b/2.txt", "b/c/3.png", "d.png", "e/4.png"}) {
        tree.File(std::string("images/") + name);
    }
    const auto picturesOnly = [](const WalkFile& f) { return IsPictureFile(f.relName); };
    const std::string images = this->Images();
    EXPECT_EQ(WalkFolder(tree.Fs(), images, "", 3, 5, picturesOnly), 5);
    EXPECT_EQ(WalkFolder(tree.Fs(), images, "", 7, 7, picturesOnly), 7);
    EXPECT_EQ(WalkFolder(tree.Fs(), JoinPath(tree.Root(), "missing"), "", 4, 10, picturesOnly), 4);

    // The bound reached inside b/c stops the outer levels too; unmatched files do not count.
    Names seen;
    WalkFolder(tree.Fs(), images, "", 0, 3, [&](const WalkFile& f) {
        seen.emplace_back(f.relName);
        return IsPictureFile(f.relName);
    });
    EXPECT_EQ(seen, (Names{"a.png", "b\\1.png", "b\\2.txt", "b\\c\\3.png"}));
}

// The program folder's own path holds folders called images and sounds.
TYPED_TEST(MediaTreeTest, NamesStayRightBelowFoldersCalledImagesOrSounds) {
    auto& tree = this->tree;
    tree.File("sounds/images/app/images/animals/cow.png");
    tree.File("sounds/images/app/sounds/more/b.wav");
    const std::string program =
        JoinPath(JoinPath(JoinPath(tree.Root(), "sounds"), "images"), "app");
    EXPECT_EQ(this->Walk(PictureFolder(program, "animals"), "animals"),
              (Names{"animals\\cow.png"}));
    EXPECT_EQ(this->Walk(SoundsFolder(program), ""), (Names{"more\\b.wav"}));
}

TYPED_TEST(MediaTreeTest, SoundListTakesDirectFilesOnlyInListingOrder) {
    auto& tree = this->tree;
    for (const char* name : {"c.wav", "b.txt", "a.wav", "more/d.wav"}) {
        tree.File(std::string("sounds/") + name);
    }
    EXPECT_EQ(ListSoundNames(tree.Fs(), tree.Root(), 10), (Names{"a.wav", "b.txt", "c.wav"}));
    EXPECT_EQ(ListSoundNames(tree.Fs(), tree.Root(), 2), (Names{"a.wav", "b.txt"}));
    // The assignment dialog's list filters and enters sub-folders, so its indices differ: its
    // c.wav is stored as 1, which the play surface takes for b.txt.
    Names dialogList;
    WalkFolder(tree.Fs(), SoundsFolder(tree.Root()), "", 0, 10, [&](const WalkFile& f) {
        if (IsSoundFile(f.relName)) {
            dialogList.emplace_back(f.relName);
        }
        return IsSoundFile(f.relName);
    });
    EXPECT_EQ(dialogList, (Names{"a.wav", "c.wav", "more\\d.wav"}));
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
    EXPECT_EQ(groups.back(), "g110");
}

TYPED_TEST(MediaTreeTest, SoundMapKeepsOneIndexPerRelativeName) {
    auto& tree = this->tree;
    CAppSettings writer(tree.Root(), tree.Fs());
    EXPECT_EQ(ReadSoundIndex(writer, "animals\\dog.png"), -1);  // no key: random

    EXPECT_TRUE(WriteSoundIndex(writer, "表示\\ソ.png", 7));
    EXPECT_TRUE(WriteSoundIndex(writer, "cow.png", -2));

    const CAppSettings reader(tree.Root(), tree.Fs());
    EXPECT_EQ(ReadSoundIndex(reader, "表示\\ソ.png"), 7);
    EXPECT_EQ(ReadSoundIndex(reader, "animals\\cow.png"), -1);
    // Out-of-range values are kept as stored; only their readers take them for random.
    EXPECT_EQ(ReadSoundIndex(reader, "cow.png"), -2);
    EXPECT_EQ(ValidSoundIndex(7, 8), 7);
    for (const auto& [index, count] :
         {std::pair{7, 7}, {-2, 3}, {0, 0}, {INT_MIN, 100}, {INT_MAX, 100}}) {
        EXPECT_EQ(ValidSoundIndex(index, count), -1) << index << " of " << count;
    }
}

TEST(MediaLibraryFakeTest, ListingIsOrderedOnAnyFileSystem) {
    // Names that differ only in case exist together on case-sensitive systems: exact bytes
    // then decide, so the order never depends on the order the system lists them in.
    FakeTree tree;
    for (const char* name : {"dog.wav", "Dog.wav", "DOG.wav", "ant.wav"}) {
        tree.File(std::string("sounds/") + name);
    }
    EXPECT_EQ(ListSoundNames(tree.Fs(), tree.Root(), 10),
              (Names{"ant.wav", "DOG.wav", "Dog.wav", "dog.wav"}));
}

// A listing told to stop on the way gives up at once, however many entries are left.
TEST(MediaLibraryRealTest, AStoppedListingGivesUpWithinAStep) {
    RealTree tree;
    const int count = int(IFileSystem::kListingStep) + 44;
    for (int i = 0; i < count; ++i) {
        tree.File("images/n" + std::to_string(i) + ".txt");
    }
    std::vector<FolderEntry> entries;
    int asked = 0;
    EXPECT_FALSE(ListFolderSorted(tree.Fs(), ImagesFolder(tree.Root()), entries,
                                  [&] { return ++asked > 1; }));
    EXPECT_EQ(asked, 2);  // before the first entry, and after the first step
    EXPECT_TRUE(entries.empty());
    EXPECT_TRUE(ListFolderSorted(tree.Fs(), ImagesFolder(tree.Root()), entries,
                                 [] { return false; }));
    EXPECT_EQ(int(entries.size()), count);
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
    for (const char* name : {"a/1.png", "a/2.png", "b/3.png", "c/d/4.png"}) {
        tree.File(std::string("images/") + name);
    }
    tree.Listed().clear();

    const std::string images = ImagesFolder(tree.Root());
    WalkFolder(tree.Fs(), images, "", 0, 2, [](const WalkFile&) { return true; });
    EXPECT_EQ(tree.Listed(), (Names{images, JoinPath(images, "a")}));

    tree.Listed().clear();
    EXPECT_EQ(WalkFolder(tree.Fs(), images, "", 10, 10, [](const WalkFile&) { return true; }), 10);
    EXPECT_TRUE(tree.Listed().empty());

    // A walk told to stop lists nothing more, files or none in the folders left.
    int asked = 0;
    FolderWalk walk(tree.Fs(), images, "", [&] { return ++asked > 2; });
    Names names;
    for (WalkFile file; walk.Next(file);) {
        names.emplace_back(file.relName);
    }
    EXPECT_EQ(names, (Names{"a\\1.png", "a\\2.png"}));
    EXPECT_EQ(tree.Listed(), (Names{images, JoinPath(images, "a")}));
    EXPECT_EQ(asked, 3);
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

TEST(MediaLibraryNamesTest, FolderPartsAndExtensions) {
    EXPECT_EQ(FolderPart("a\\b\\c.png"), "a\\b");
    EXPECT_EQ(FolderPart("\\c.png"), "");
    EXPECT_EQ(FolderPart("dog.png"), std::nullopt);
    EXPECT_EQ(FolderPart("表示\\ソ.png"), "表示");  // a 0x5C trail byte is no separator

    // Without case, from the last dot of the last part.
    for (const char* name : {"a.jpeg", "a.jpe", "a.jfif", "a.bmp", "PHOTO.JPG", "表示.PNG",
                             "old.png\\z.JFIF", ".png", "a.b.bmp"}) {
        EXPECT_TRUE(IsPictureFile(name) && !IsSoundFile(name)) << name;
    }
    for (const char* name : {"B.WAV", "c.Wave", "more\\d.wav"}) {
        EXPECT_TRUE(IsSoundFile(name) && !IsPictureFile(name)) << name;
    }
    for (const char* name : {"picture", "old.png\\picture", "a.gif", "a.png.bak", "a.pngx", "a.",
                             "a.ｐｎｇ", "a.wav.bak", "wav", "a.waves", "x.wav\\y"}) {
        EXPECT_FALSE(IsPictureFile(name) || IsSoundFile(name)) << name;
    }
}

TEST(MediaLibraryOrderTest, SlotsCountPositionsOrGroupMembersMatchedExactly) {
    const Names order = {"animals\\calves\\small.png", "cat.png",   "animals", "Animals\\y.png",
                         "animals\\cow.png",           "ani\\x.png"};
    for (const std::string_view all : {std::string_view(), kGroupChooseAtStart}) {
        EXPECT_EQ(OrderSlot(order, "cat.png", all), 1);
        EXPECT_EQ(OrderSlot(order, "ani\\x.png", all), 5);
    }
    EXPECT_EQ(OrderSlot(order, "animals\\calves\\small.png", "animals"), 0);
    EXPECT_EQ(OrderSlot(order, "animals\\cow.png", "animals"), 1);
    EXPECT_EQ(OrderSlot(order, "ani\\x.png", "ani"), 0);
    EXPECT_EQ(OrderSlot(order, "animals\\Cow.png", ""), -1);
    EXPECT_EQ(OrderSlot(order, "cow.png", ""), -1);
    EXPECT_FALSE(LiesInGroup("表示", "表示"));
    EXPECT_FALSE(LiesInGroup("表示x\\a.png", "表示"));
}

TYPED_TEST(MediaTreeTest, AStoredGroupIsFoundByTheFormTheFileHoldsItsNameIn) {
    auto& tree = this->tree;
    for (const char* group : {"images/〜あか", "images/−", "images/é", "images/あお"}) {
        tree.Folder(group);
    }
    const struct {
        std::string_view stored;
        TextEncoding encoding;
        std::string_view live;
    } cases[] = {
        {"?あか", TextEncoding::kCp932, "〜あか"},
        {"あお", TextEncoding::kCp932, "あお"},
        {"?", TextEncoding::kCp932, "é"},  // é and − are both '?': the first in listing order
        {"?あか", TextEncoding::kUtf16Le, "?あか"},  // no folder of that name
        {"〜あか", TextEncoding::kUtf16Le, "〜あか"},
        {"gone", TextEncoding::kCp932, "gone"},
        {"", TextEncoding::kCp932, ""},
        {kGroupChooseAtStart, TextEncoding::kCp932, kGroupChooseAtStart},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LiveGroupName(tree.Fs(), tree.Root(), c.stored, c.encoding), c.live) << c.stored;
    }
    const Names names = {"〜.png", "é.png", "A.png", "a.PNG", " a.png"};
    EXPECT_EQ(SharingStoredForm(names, "〜.png", TextEncoding::kCp932, false), Names{"é.png"});
    EXPECT_TRUE(SharingStoredForm(names, "〜.png", TextEncoding::kUtf8, false).empty());
    // As keys, ASCII case and blanks around them do not count either.
    EXPECT_EQ(SharingStoredForm(names, "a.png", TextEncoding::kUtf16Le, true),
              (Names{"A.png", "a.PNG", " a.png"}));
    EXPECT_EQ(SharingStoredForm(names, "A.png", TextEncoding::kUtf16Le, false), Names{});
}

}  // namespace
}  // namespace zz
