#include "view/win32/picture_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/unicode.h"

namespace zz {
namespace {

namespace stdfs = std::filesystem;

// A program folder of its own with the given pictures in images.
stdfs::path ProgramFolder(const wchar_t* tag, std::initializer_list<const char*> pictures) {
    const stdfs::path folder =
        stdfs::temp_directory_path() /
        (L"zz_store_test_" + std::wstring(tag) + std::to_wstring(GetCurrentProcessId()));
    stdfs::create_directories(folder / "images");
    for (const char* name : pictures) {
        stdfs::copy_file(Widen(std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name),
                         folder / "images" / name, stdfs::copy_options::overwrite_existing);
    }
    return folder;
}

// Takes the store's updates as its messages come, until until() holds or ten seconds pass.
template <typename Until>
bool PumpStore(CPictureStore& store, HWND window, Until until) {
    for (const DWORD deadline = GetTickCount() + 10000; GetTickCount() < deadline; Sleep(5)) {
        MSG msg;
        while (
            PeekMessageW(&msg, window, kPicturesReadyMessage, kPicturesReadyMessage, PM_REMOVE)) {
            if (until(store.TakeUpdates())) {
                return true;
            }
        }
    }
    return false;
}

TEST(PictureStoreTest, LoadsOnItsWorkerSkippingBrokenFilesAndMakesLargeCopiesOnRequest) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // In listing order: large.png, not_a_picture.png, picture.jpg, truncated.png.
    const stdfs::path folder =
        ProgramFolder(L"full", {"large.png", "not_a_picture.png", "picture.jpg", "truncated.png"});
    const stdfs::path empty = ProgramFolder(L"empty", {});
    CPictureStore store;
    const PictureLoadRules rules;
    store.Load(window, Narrow(folder.wstring()), rules);
    EXPECT_TRUE(store.Loading());
    CPictureStore::Update last;
    ASSERT_TRUE(PumpStore(store, window, [&](const CPictureStore::Update& update) {
        last = update;
        return update.done;
    }));
    EXPECT_FALSE(store.Loading());
    EXPECT_EQ(last.result.count, 2);
    EXPECT_EQ(store.LoadedCount(), 2);
    int width = 0;
    int height = 0;
    ASSERT_TRUE(store.GetSize(0, width, height));
    EXPECT_EQ(width, 1600);  // the picture's own size, whatever copy is kept
    EXPECT_EQ(height, 1200);
    ASSERT_TRUE(store.GetSize(1, width, height));
    EXPECT_EQ(width, 64);
    EXPECT_FALSE(store.GetSize(2, width, height));
    const std::size_t small = store.MemoryBytes();
    EXPECT_LT(small, std::size_t(1600) * 1200);  // far below the whole picture's 7.7 MB

    // A copy at the size the growth ends at comes for the large picture only: the small one is
    // kept whole already.
    store.Want({{1, 1000, 750}, {0, 1000, 750}});
    ASSERT_TRUE(PumpStore(store, window,
                          [&](const CPictureStore::Update&) { return store.LargeArrived(0); }));
    EXPECT_FALSE(store.LargeArrived(1));
    const std::size_t sized = store.MemoryBytes() - small;
    EXPECT_GE(sized, std::size_t(1000) * 750 * 4);
    EXPECT_LT(sized, std::size_t(1000) * 750 * 4 * 3 / 2);

    // A new load drops every picture at once.
    store.Load(window, Narrow(empty.wstring()), rules);
    EXPECT_EQ(store.LoadedCount(), 0);
    EXPECT_EQ(store.MemoryBytes(), 0u);
    EXPECT_TRUE(PumpStore(store, window, [](const auto& update) { return update.done; }));
    DestroyWindow(window);
    std::error_code ignored;  // a leftover temporary folder harms nothing
    stdfs::remove_all(folder, ignored);
    stdfs::remove_all(empty, ignored);
}

}  // namespace
}  // namespace zz
