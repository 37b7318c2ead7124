// The dialog templates must be linked into every program that shows the dialogs: an unused
// archive member would silently leave them out.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "resources/dialog_ids.h"

namespace {

constexpr int kTemplates[] = {IDD_SETTINGS, IDD_ORDER, IDD_GROUP_SELECT, IDD_GROUP_PICK,
                              IDD_SOUND_ASSIGN};

std::filesystem::path OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

TEST(DialogResourcesTest, TemplatesAreInTheTestsAndInTheProgram) {
    for (const int id : kTemplates) {
        EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)), nullptr) << id;
    }
    const std::filesystem::path program = OwnFolder() / L"Zoomzap.exe";
    HMODULE exe = LoadLibraryExW(program.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr) << "Zoomzap.exe is built beside the tests";
    for (const int id : kTemplates) {
        EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)), nullptr) << id;
    }
    FreeLibrary(exe);
}

}  // namespace
