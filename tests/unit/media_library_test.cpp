#include "settings/media_library.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/memory_tree.h"
#include "tests/support/temp_tree.h"

namespace zz {
namespace {

using test::MemoryTree;
using test::Names;

// The files the walk hands out and the count it returns; pictures count, or every file.
std::pair<Names, int> Walk(const IFileSystem& fs, const std::string& folder, int count, int bound,
                           bool onlyPictures = false) {
    Names names;
    const int end = WalkFolder(fs, folder, "", count, bound, [&](const WalkFile& f) {
        names.emplace_back(f.relName);
        return !onlyPictures || IsPictureFile(f.relName);
    });
    return {names, end};
}

// Sorted as NTFS sorts, letters folded to upper case (so "_" comes after them), whatever order
// the file system lists them in; each sub-folder is walked where it is listed.
TEST(MediaLibrary, FoldersAreListedSortedAndWalkedDepthFirst) {
    test::TempTree tree;
    for (const char* name : {"b.png", "Z", "a.png", "表示/ソ.png", "_x", "10.png", "A1.png",
                             "9.png", "Animals/deep/x.png", "Animals/cow.JPG", "old.png/y.png"}) {
        tree.File(std::string("images/") + name);
    }
    tree.Folder("sounds");
    std::vector<FolderEntry> entries{{"stale", false}};
    EXPECT_TRUE(ListFolderSorted(tree.Fs(), SoundsFolder(tree.Root()), entries) && entries.empty());
    entries.push_back({"stale", false});
    EXPECT_FALSE(ListFolderSorted(tree.Fs(), JoinPath(tree.Root(), "missing"), entries));
    EXPECT_TRUE(entries.empty());
    // A listing told to stop on the way gives up at once, however many entries are left.
    for (size_t i = 0; i < IFileSystem::kListingStep + 44; ++i) {
        tree.File("many/n" + std::to_string(i) + ".txt");
    }
    int asked = 0;
    EXPECT_FALSE(ListFolderSorted(tree.Fs(), JoinPath(tree.Root(), "many"), entries,
                                  [&] { return ++asked > 1; }));
    EXPECT_EQ(std::pair(asked, entries.size()), std::pair(2, size_t{0}));  // before, after a step
    EXPECT_EQ(Walk(tree.Fs(), ImagesFolder(tree.Root()), 0, 100, true),
              (std::pair<Names, int>{
                  {"10.png", "9.png", "a.png", "A1.png", "Animals\\cow.JPG", "Animals\\deep\\x.png",
                   "b.png", "old.png\\y.png", "Z", "_x", "表示\\ソ.png"},
                  9}));
}
TEST(MediaLibrary, TheBoundIsSharedByAllLevelsAndTheWalkEndsWhereItIsReached) {
    MemoryTree tree;
    for (const char* name : {"a.png", "b/1.png", "b/2.txt", "b/c/3.png", "d.png", "e/4.png"}) {
        tree.File(std::string("images/") + name);
    }
    const std::string images = ImagesFolder(tree.Root());
    const std::string b = JoinPath(images, "b");
    EXPECT_EQ(Walk(tree, images, 3, 5, true).second, 5);
    tree.Listed().clear();
    EXPECT_EQ(Walk(tree, images, 0, 3, true),
              (std::pair<Names, int>{{"a.png", "b\\1.png", "b\\2.txt", "b\\c\\3.png"}, 3}));
    EXPECT_EQ(tree.Listed(), (Names{images, b, JoinPath(b, "c")}));  // nothing listed past it
    // A walk told to stop lists nothing more, files or none in the folders left.
    tree.Listed().clear();
    int asked = 0;
    FolderWalk walk(tree, images, "", [&] { return ++asked > 2; });
    Names handed;
    for (WalkFile file; walk.Next(file);) {
        handed.emplace_back(file.relName);
    }
    EXPECT_EQ(std::tuple(handed, tree.Listed(), asked),
              std::tuple(Names{"a.png", "b\\1.png", "b\\2.txt"}, Names{images, b}, 3));
    tree.Lock(b);  // a sub-folder that cannot be listed adds nothing
    EXPECT_EQ(Walk(tree, images, 0, 10).first, (Names{"a.png", "d.png", "e\\4.png"}));
    // Every folder holding a file and a folder of its own, as a folder loop does.
    struct Endless : MemoryTree {
        bool ListFolder(const std::string&, std::vector<FolderEntry>& entries) const override {
            return entries = {{"f.png", false}, {"loop", true}}, true;
        }
    } endless;
    const auto [names, count] = Walk(endless, "images", 0, 100000);
    EXPECT_EQ(count, kMaxWalkDepth + 1);
    EXPECT_EQ(std::count(names.back().begin(), names.back().end(), '\\'), kMaxWalkDepth);
}

TEST(MediaLibrary, SoundsAndGroupsAreTheDirectFilesAndFoldersInListingOrder) {
    MemoryTree tree;
    for (const char* name : {"sounds/dog.wav", "sounds/Dog.wav", "sounds/b.txt", "sounds/ant.wav",
                             "sounds/more/d.wav", "images/z.png", "images/old.png/cat.png"}) {
        tree.File(name);
    }
    for (int i = 12; i >= 1; --i) {
        tree.Folder("images/g" + std::to_string(100 + i));
    }
    // Names that differ in case alone exist together on some systems: their bytes decide.
    EXPECT_EQ(ListSoundNames(tree, tree.Root(), 10),
              (Names{"ant.wav", "b.txt", "Dog.wav", "dog.wav"}));
    EXPECT_EQ(ListSoundNames(tree, tree.Root(), 2), (Names{"ant.wav", "b.txt"}));
    const Names groups = ListGroups(tree, tree.Root());
    EXPECT_EQ(std::tuple(groups.size(), groups.front(), groups.back()),
              std::tuple(size_t{kMaxGroups}, "g101", "g110"));
    EXPECT_EQ(ListGroups(tree, tree.Root(), 100).back(), "old.png");
}

TEST(MediaLibrary, RelativeNamesFolderPartsAndExtensions) {
    EXPECT_EQ(std::tuple(FolderPart("a\\b\\c.png"), FolderPart("\\c.png"), FolderPart("dog.png")),
              std::tuple("a\\b", "", std::nullopt));
    EXPECT_EQ(FolderPart("表示\\ソ.png"), "表示");  // a 0x5C trail byte is no separator
    EXPECT_FALSE(LiesInGroup("表示", "表示") || LiesInGroup("表示x\\a.png", "表示"));
    // Without case, from the last dot.
    for (const char* name : {"a.jpeg", "a.jpe", "a.jfif", "a.bmp", "PHOTO.JPG", "表示.PNG",
                             "old.png\\z.JFIF", ".png", "a.b.bmp"}) {
        EXPECT_TRUE(IsPictureFile(name) && !IsSoundFile(name)) << name;
    }
    for (const char* name : {"B.WAV", "c.Wave", "more\\d.wav"}) {
        EXPECT_TRUE(IsSoundFile(name) && !IsPictureFile(name)) << name;
    }
    for (const char* name : {"old.png\\picture", "a.gif", "a.png.bak", "a.pngx", "a.", "a.ｐｎｇ",
                             "a.waves", "x.wav\\y"}) {
        EXPECT_FALSE(IsPictureFile(name) || IsSoundFile(name)) << name;
    }
}

// A name the code page cannot hold is stored with '?': a stored group finds its folder again.
TEST(MediaLibrary, StoredNamesAreMatchedInTheFormTheFileHoldsThem) {
    MemoryTree tree;
    for (const char* group : {"images/−", "images/é", "images/あお"}) {
        tree.Folder(group);
    }
    for (const auto& [stored, live] :
         {std::pair<std::string_view, std::string_view>{"あお", "あお"},
          {"?", "é"},  // é and − are both '?': the first listed
          {"gone", "gone"}}) {
        EXPECT_EQ(LiveGroupName(tree, tree.Root(), stored, TextEncoding::kCp932), live) << stored;
    }
}

}  // namespace
}  // namespace zz
