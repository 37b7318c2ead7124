// Automation: a client starts the program through COM and gets a dispatch interface; the program
// opens no window for it and ends when it lets go.

#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <tlhelp32.h>

#include <filesystem>
#include <set>
#include <vector>

#include "app/automation_ids.h"
#include "app/automation_server.h"
#include "app/registry.h"
#include "framework/com_init.h"
#include "framework/handles.h"
#include "framework/scope_exit.h"
#include "framework/unicode.h"

namespace zz {
namespace {

std::set<DWORD> ProgramProcesses() {
    std::set<DWORD> ids;
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{.dwSize = sizeof(PROCESSENTRY32W)};
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, L"Zoomzap.exe") == 0) {
            ids.insert(entry.th32ProcessID);
        }
    }
    return ids;
}

TEST(AppAutomationTest, ClientStartsTheProgramWithoutAWindowAndItEndsWhenReleased) {
    const ComInitialization com(ComInitialization::Kind::kApartment);
    ASSERT_TRUE(com.Started());
    // Windows merges the per-user classes into the classes root; Wine reads only the
    // machine's, so the entries go to both.
    ServerIdentity identity = CAutomationServer::Identity();
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    identity.programPath =
        Narrow((std::filesystem::path(own).parent_path() / L"Zoomzap.exe").wstring());
    std::vector<RegistryKey> roots;
    const ScopeExit unregister([&] {
        for (const RegistryKey& classes : roots) {
            UnregisterServer(classes.Get(), identity);
        }
    });
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        roots.push_back(CreateRegistryKey(root, "Software\\Classes"));
        ASSERT_TRUE(roots.back() && RegisterServer(roots.back().Get(), identity));
    }
    const std::set<DWORD> before = ProgramProcesses();

    IDispatch* document = nullptr;
    ASSERT_EQ(CoCreateInstance(kClsidZoomzapDocument, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&document)),
              S_OK);
    std::set<DWORD> started = ProgramProcesses();
    std::erase_if(started, [&](DWORD id) { return before.contains(id); });
    ASSERT_EQ(started.size(), 1u) << "COM started the program";
    const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, *started.begin()));
    EXPECT_EQ(FindWindowW(L"ZoomzapFrame", nullptr), nullptr) << "a window for a client";

    document->Release();
    EXPECT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0)
        << "the program ends when its client lets go";
}

}  // namespace
}  // namespace zz
