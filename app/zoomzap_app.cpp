#include "app/zoomzap_app.h"

#include <windows.h>

#include <string>

#include "app/about_dlg.h"
#include "app/main_frame.h"
#include "app/zoomzap_doc.h"
#include "framework/module.h"
#include "resources/resource.h"
#include "view/win32/zoomzap_view.h"

namespace zz {

namespace {

void ShowStartupFailure(UINT messageId) {
    const std::wstring text = LoadResourceString(messageId);
    const std::wstring title = LoadResourceString(IDS_APP_TITLE);
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

CZoomzapApp::CZoomzapApp() = default;

// Declared here, where the owned classes are complete.
CZoomzapApp::~CZoomzapApp() = default;

bool CZoomzapApp::InitInstance() {
    if (!InitPlatformServices() || !OpenNewDocument()) {
        return false;
    }
    HWND frame = m_pMainFrame->GetHwnd();
    ShowWindow(frame, SW_SHOWMAXIMIZED);
    UpdateWindow(frame);
    return true;
}

bool CZoomzapApp::InitPlatformServices() {
    if (!m_services.StartSockets()) {
        ShowStartupFailure(IDP_SOCKETS_INIT_FAILED);
        return false;
    }
    if (!m_services.StartOle()) {
        ShowStartupFailure(IDP_OLE_INIT_FAILED);
        return false;
    }
    return true;
}

bool CZoomzapApp::OpenNewDocument() {
    auto document = std::make_unique<CZoomzapDoc>();
    if (!document->OnNewDocument()) {
        return false;
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
    m_pDocument = std::move(document);
    m_pMainFrame = std::move(frame);
    m_pView = std::move(view);
    m_pMainWnd = m_pMainFrame.get();
    m_pView->OnInitialUpdate();
    return true;
}

bool CZoomzapApp::OnCommand(UINT id) {
    if (id == ID_APP_ABOUT) {
        OnAppAbout();
        return true;
    }
    return false;
}

void CZoomzapApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

}  // namespace zz
