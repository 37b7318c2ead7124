#include "view/win32/picture_store.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/unicode.h"

namespace zz {
namespace {

std::wstring TestPicture(const char* name) {
    return Widen(std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name);
}

// A program folder of its own under the temporary folder, with the given pictures in images.
class ProgramFolderCopy {
public:
    ProgramFolderCopy(const wchar_t* tag, std::initializer_list<const char*> pictures) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_folder =
            std::wstring(temp) + L"zz_store_test_" + tag + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_folder.c_str(), nullptr);
        CreateDirectoryW((m_folder + L"\\images").c_str(), nullptr);
        for (const char* name : pictures) {
            const std::wstring to = m_folder + L"\\images\\" + Widen(name);
            CopyFileW(TestPicture(name).c_str(), to.c_str(), FALSE);
            m_files.push_back(to);
        }
    }
    ~ProgramFolderCopy() {
        for (const std::wstring& file : m_files) {
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW((m_folder + L"\\images").c_str());
        RemoveDirectoryW(m_folder.c_str());
    }
    std::string Folder() const { return Narrow(m_folder); }

private:
    std::wstring m_folder;
    std::vector<std::wstring> m_files;
};

// Takes the store's updates as its messages come, until until() holds or ten seconds pass.
template <typename Until>
bool PumpStore(CPictureStore& store, HWND window, Until until) {
    const DWORD deadline = GetTickCount() + 10000;
    while (GetTickCount() < deadline) {
        MSG msg;
        while (
            PeekMessageW(&msg, window, kPicturesReadyMessage, kPicturesReadyMessage, PM_REMOVE)) {
            if (until(store.TakeUpdates())) {
                return true;
            }
        }
        Sleep(5);
    }
    return false;
}

class PictureStoreTest : public testing::Test {
protected:
    PictureStoreTest()
        : m_window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr)) {}
    ~PictureStoreTest() override { DestroyWindow(m_window); }

    HWND m_window;
};

TEST_F(PictureStoreTest, LoadsOnItsWorkerSkippingBrokenFilesAndMakesLargeCopiesOnRequest) {
    // In listing order: large.png, not_a_picture.png, picture.jpg, truncated.png.
    const ProgramFolderCopy folder(
        L"full", {"large.png", "not_a_picture.png", "picture.jpg", "truncated.png"});
    CPictureStore store;
    PictureLoadRules rules;
    store.Load(m_window, folder.Folder(), rules, 1600);
    EXPECT_TRUE(store.Loading());
    CPictureStore::Update last;
    ASSERT_TRUE(PumpStore(store, m_window, [&](const CPictureStore::Update& update) {
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

    // The large copy comes for the large picture only: the small one is kept whole already.
    store.Want(1);
    store.Want(0);
    ASSERT_TRUE(PumpStore(store, m_window,
                          [&](const CPictureStore::Update&) { return store.LargeArrived(0); }));
    EXPECT_FALSE(store.LargeArrived(1));
    EXPECT_GE(store.MemoryBytes(), small + std::size_t(1600) * 1200 * 4);

    // A new load drops every picture at once.
    const ProgramFolderCopy empty(L"empty", {});
    store.Load(m_window, empty.Folder(), rules, 1600);
    EXPECT_EQ(store.LoadedCount(), 0);
    EXPECT_EQ(store.MemoryBytes(), 0u);
    EXPECT_TRUE(PumpStore(store, m_window, [](const auto& update) { return update.done; }));
}

}  // namespace
}  // namespace zz
