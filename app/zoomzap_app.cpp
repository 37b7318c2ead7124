#include "app/zoomzap_app.h"

#include <string>

#include "app/about_dlg.h"
#include "app/main_frame.h"
#include "app/registry.h"
#include "app/win32_arguments.h"
#include "app/zoomzap_doc.h"
#include "framework/module.h"
#include "framework/unicode.h"
#include "resources/resource.h"
#include "view/win32/zoomzap_view.h"

namespace zz {

namespace {

constexpr const char* kRegistryKey = "Local AppWizard-Generated Applications";
constexpr const char* kClassesKey = "Software\\Classes";

}  // namespace

CZoomzapApp::CZoomzapApp() : m_profile(HKEY_CURRENT_USER, kRegistryKey, "Zoomzap") {}

// Declared here, where the owned classes are complete.
CZoomzapApp::~CZoomzapApp() = default;

bool CZoomzapApp::InitInstance() {
    if (!InitPlatformServices()) {
        return false;
    }
    m_profile.LoadRecentFiles(m_recentFiles);

    const CCommandLineInfo info = ParseCommandLine(SplitCommandLine(GetCommandLineW()));
    if (info.IsStartedByClient()) {
        // No window: the program lives for its clients and ends when the last one lets go.
        CAppLock::SetUserControl(false);
        return m_server.RegisterAll();
    }

    const RegistryKey classes = CreateRegistryKey(HKEY_CURRENT_USER, kClassesKey);
    const ServerIdentity identity = CAutomationServer::Identity();
    if (info.m_nShellCommand == ShellCommand::kAppUnregister) {
        const bool removed = classes && UnregisterServer(classes.Get(), identity);
        m_nInitExitCode = removed ? 0 : 1;
        if (info.m_bTellUnregister) {
            ShowMessage(removed ? IDS_UNREGISTERED : IDP_UNREGISTER_FAILED, {},
                        removed ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
        }
        return false;
    }
    // Written at every start, so that damaged or moved entries repair themselves. A failure
    // costs only automation, which the program does not need to run.
    const bool registered = classes && RegisterServer(classes.Get(), identity);
    if (info.m_nShellCommand == ShellCommand::kAppRegister) {
        m_nInitExitCode = registered ? 0 : 1;
        return false;
    }
    if (!ProcessShellCommand(info)) {
        return false;
    }
    HWND frame = MainHwnd();
    ShowWindow(frame, SW_SHOWMAXIMIZED);
    UpdateWindow(frame);
    return true;
}

bool CZoomzapApp::InitPlatformServices() {
    if (!m_services.StartSockets()) {
        ShowMessage(IDP_SOCKETS_INIT_FAILED);
        return false;
    }
    if (!m_services.StartOle()) {
        ShowMessage(IDP_OLE_INIT_FAILED);
        return false;
    }
    return true;
}

bool CZoomzapApp::ProcessShellCommand(const CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
        case ShellCommand::kFileOpen:
            // A file that cannot be opened is reported; the toy starts all the same.
            return OpenDocumentFile(info.FileCandidates()) || OpenNewDocument();
        case ShellCommand::kFilePrint:
        case ShellCommand::kFilePrintTo:
            m_nInitExitCode = PrintFromCommandLine(info) ? 0 : 1;
            return false;  // printed or not, the program's work is done
        default:
            return OpenNewDocument();
    }
}

bool CZoomzapApp::CreateFrameAndView() {
    if (m_pMainFrame) {
        return true;
    }
    auto frame = std::make_unique<CMainFrame>();
    if (!frame->Create()) {
        return false;
    }
    auto view = std::make_unique<CZoomzapView>();
    if (!view->Create(frame->GetHwnd())) {
        return false;
    }
    frame->SetView(view.get());
    view->SetOwner(frame.get());
    m_pDocument = std::make_unique<CZoomzapDoc>();
    m_pMainFrame = std::move(frame);
    m_pView = std::move(view);
    m_pMainWnd = m_pMainFrame.get();
    return true;
}

bool CZoomzapApp::OpenNewDocument() {
    if (!CreateFrameAndView() || !m_pDocument->OnNewDocument()) {
        return false;
    }
    RunInitialUpdate();
    return true;
}

bool CZoomzapApp::OpenDocumentFile(const std::vector<std::string>& candidates) {
    // The document reads nothing, but the file must be there and readable to be its file.
    for (const std::string& path : candidates) {
        wchar_t full[MAX_PATH] = {};
        const DWORD length = GetFullPathNameW(Widen(path).c_str(), MAX_PATH, full, nullptr);
        const KernelHandle file(
            length > 0 && length < MAX_PATH
                ? CreateFileW(full, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                : INVALID_HANDLE_VALUE);
        if (file) {
            if (!CreateFrameAndView()) {
                return false;
            }
            const std::string fullPath = Narrow(full);
            m_pDocument->SetPathName(fullPath);
            AddToRecentFileList(fullPath);
            RunInitialUpdate();
            return true;
        }
    }
    ShowMessage(IDP_FAILED_TO_OPEN_DOC, candidates.empty() ? std::string() : candidates.front());
    return false;
}

void CZoomzapApp::RunInitialUpdate() {
    m_pView->OnInitialUpdate();
    // A fresh start shows nothing of the old picture anywhere, not only where a dialog was.
    InvalidateRect(m_pView->GetHwnd(), nullptr, TRUE);
}

void CZoomzapApp::AddToRecentFileList(const std::string& path) {
    m_recentFiles.Add(path);
    // Stored at once rather than at the end, so that a program that is killed keeps it too.
    m_profile.SaveRecentFiles(m_recentFiles);  // a list not stored costs only convenience
}

bool CZoomzapApp::OnCommand(UINT id) {
    switch (id) {
        case ID_APP_ABOUT:
            OnAppAbout();
            return true;
        case ID_FILE_NEW:
            OnFileNew();
            return true;
        case ID_FILE_OPEN:
            OnFileOpen();
            return true;
        case ID_FILE_SAVE:
            OnFileSave();
            return true;
        case ID_FILE_PRINT:
            OnFilePrint();
            return true;
        default:
            return false;
    }
}

void CZoomzapApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

void CZoomzapApp::ShowMessage(UINT textId, const std::string& argument, UINT icon) const {
    std::wstring text = LoadResourceString(textId);
    if (const size_t at = text.find(L"%s"); at != std::wstring::npos) {
        text.replace(at, 2, Widen(argument));
    }
    const std::wstring title = LoadResourceString(IDS_APP_TITLE);
    MessageBoxW(MainHwnd(), text.c_str(), title.c_str(), MB_OK | icon);
}

HWND CZoomzapApp::MainHwnd() const {
    return m_pMainFrame ? m_pMainFrame->GetHwnd() : nullptr;
}

}  // namespace zz
