#include "app/zoomzap_app.h"

#include <string>

#include "app/about_dlg.h"
#include "app/main_frame.h"
#include "app/registry.h"
#include "app/win32_arguments.h"
#include "app/zoomzap_doc.h"
#include "framework/message_box.h"
#include "framework/unicode.h"
#include "resources/resource.h"

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
    if (info.m_shellCommand == ShellCommand::kAppUnregister) {
        const bool removed = classes && UnregisterServer(classes.Get(), identity);
        m_nInitExitCode = removed ? 0 : 1;
        if (info.m_bTellUnregister) {
            ShowMessage(MainHwnd(), removed ? IDS_UNREGISTERED : IDP_UNREGISTER_FAILED, {},
                        MB_OK | (removed ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
        }
        return false;
    }
    // Written at every start, so that damaged or moved entries repair themselves. A failure
    // costs only automation, which the program does not need to run.
    const bool registered = classes && RegisterServer(classes.Get(), identity);
    if (info.m_shellCommand == ShellCommand::kAppRegister) {
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
        ShowMessage(MainHwnd(), IDP_SOCKETS_INIT_FAILED);
        return false;
    }
    if (!m_services.StartOle()) {
        ShowMessage(MainHwnd(), IDP_OLE_INIT_FAILED);
        return false;
    }
    return true;
}

bool CZoomzapApp::ProcessShellCommand(const CCommandLineInfo& info) {
    switch (info.m_shellCommand) {
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

bool CZoomzapApp::CreateFrame() {
    if (m_pMainFrame) {
        return true;
    }
    auto frame = std::make_unique<CMainFrame>();
    if (!frame->Create()) {
        return false;
    }
    m_pDocument = std::make_unique<CZoomzapDoc>();
    m_pMainFrame = std::move(frame);
    m_pMainWnd = m_pMainFrame.get();
    return true;
}

bool CZoomzapApp::OpenNewDocument() {
    if (!CreateFrame() || !m_pDocument->OnNewDocument()) {
        return false;
    }
    m_pMainFrame->OnInitialUpdate();
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
            if (!CreateFrame()) {
                return false;
            }
            const std::string fullPath = Narrow(full);
            m_pDocument->SetPathName(fullPath);
            AddToRecentFileList(fullPath);
            m_pMainFrame->OnInitialUpdate();
            return true;
        }
    }
    ShowMessage(MainHwnd(), IDP_FAILED_TO_OPEN_DOC,
                candidates.empty() ? std::wstring() : Widen(candidates.front()));
    return false;
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

HWND CZoomzapApp::MainHwnd() const {
    return m_pMainFrame ? m_pMainFrame->GetHwnd() : nullptr;
}

}  // namespace zz
