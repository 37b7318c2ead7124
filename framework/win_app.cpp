#include "framework/win_app.h"

#include "framework/window.h"

namespace zz {

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

CWinApp* GetApp() {
    return g_app;
}

int CWinApp::Run() {
    if (!InitInstance()) {
        return m_nInitExitCode;
    }
    return RunMessageLoop();
}

int CWinApp::RunMessageLoop() {
    MSG msg{};
    // GetMessageW gives -1 only for an invalid window filter, which null is not.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (m_pMainWnd != nullptr && m_pMainWnd->PreTranslateMessage(msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace zz
