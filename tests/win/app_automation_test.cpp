// Automation: a client starts the program through COM, gets an empty dispatch interface, and
// the program ends when the client lets go. Printing: the page shows what the view draws.

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
#include "app/view_printer.h"
#include "framework/handles.h"
#include "framework/unicode.h"
#include "framework/view.h"

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

        UINT count = 99;
        EXPECT_EQ(document->GetTypeInfoCount(&count), S_OK);
        EXPECT_EQ(count, 0u);
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

TEST(AppAutomationTest, DocumentsAndServerLocksHoldTheApplicationLock) {
    // In the same apartment COM hands out the registered class object itself: no marshalling.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        CAutomationServer server;
        ASSERT_TRUE(server.RegisterAll());
        IClassFactory* factory = nullptr;
        ASSERT_EQ(CoGetClassObject(kClsidZoomzapDocument, CLSCTX_LOCAL_SERVER, nullptr,
                                   IID_IClassFactory, reinterpret_cast<void**>(&factory)),
                  S_OK);
        const int locks = CAppLock::Count();
        IUnknown* document = nullptr;
        ASSERT_EQ(factory->CreateInstance(nullptr, kIidZoomzapDocument,
                                          reinterpret_cast<void**>(&document)),
                  S_OK);
        EXPECT_EQ(CAppLock::Count(), locks + 1);
        IUnknown* aggregated = nullptr;
        EXPECT_EQ(
            factory->CreateInstance(document, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
            CLASS_E_NOAGGREGATION);
        EXPECT_EQ(CAppLock::Count(), locks + 1) << "a refused instance holds no lock";

        IDispatch* dispatch = nullptr;
        ASSERT_EQ(document->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)),
                  S_OK);
        VARIANT result{};
        DISPPARAMS none{};
        EXPECT_EQ(dispatch->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                   &result, nullptr, nullptr),
                  DISP_E_MEMBERNOTFOUND);
        dispatch->Release();
        document->Release();
        EXPECT_EQ(CAppLock::Count(), locks);

        ASSERT_EQ(factory->LockServer(TRUE), S_OK);
        EXPECT_EQ(CAppLock::Count(), locks + 1);
        ASSERT_EQ(factory->LockServer(FALSE), S_OK);
        EXPECT_EQ(CAppLock::Count(), locks);
        factory->Release();
    }
    CoUninitialize();
}

// Paints the left half of its client area blue and the right half red.
class HalvesView : public CView {
public:
    void Paint(HDC dc, const RECT& client) override {
        const LONG middle = (client.left + client.right) / 2;
        const RECT left{client.left, client.top, middle, client.bottom};
        const RECT right{middle, client.top, client.right, client.bottom};
        const Brush blue(CreateSolidBrush(RGB(0, 0, 255)));
        const Brush red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(dc, &left, blue.Get());
        FillRect(dc, &right, red.Get());
    }
};

TEST(AppAutomationTest, PrintedPageShowsTheViewScaledAndCentred) {
    HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    HalvesView view;
    ASSERT_TRUE(view.Create(frame));

    // A portrait page, four times as large as the view: the view fills its width.
    const MemoryDC dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 800;
    info.bmiHeader.biHeight = -1000;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const Bitmap page(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(page);
    const HGDIOBJ previous = SelectObject(dc.Get(), page.Get());
    const RECT all{0, 0, 800, 1000};
    const Brush grey(CreateSolidBrush(RGB(128, 128, 128)));
    FillRect(dc.Get(), &all, grey.Get());

    RenderViewPage(dc.Get(), all, view);
    EXPECT_EQ(GetPixel(dc.Get(), 10, 10), RGB(128, 128, 128)) << "above the drawing";
    EXPECT_EQ(GetPixel(dc.Get(), 10, 310), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc.Get(), 395, 690), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc.Get(), 405, 310), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.Get(), 790, 690), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.Get(), 10, 990), RGB(128, 128, 128)) << "below the drawing";
    // The mapping is the DC's again afterwards.
    EXPECT_EQ(GetMapMode(dc.Get()), MM_TEXT);
    POINT origin{};
    GetViewportOrgEx(dc.Get(), &origin);
    EXPECT_EQ(origin.y, 0);

    SelectObject(dc.Get(), previous);
    DestroyWindow(frame);
}

}  // namespace
}  // namespace zz
