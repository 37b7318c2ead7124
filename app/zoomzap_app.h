#pragma once
// The application: start-up, the one document, frame and view, and the about box.

#include <memory>

#include "app/platform_services.h"
#include "framework/win_app.h"

namespace zz {

class CMainFrame;
class CZoomzapDoc;
class CZoomzapView;

class CZoomzapApp : public CWinApp {
public:
    CZoomzapApp();
    ~CZoomzapApp() override;

    bool InitInstance() override;
    // Commands that reach the application after the frame; true when handled.
    bool OnCommand(UINT id);
    void OnAppAbout();

    // The one play surface, stored there by the view itself; never cleared.
    CZoomzapView* m_pPlayView = nullptr;

private:
    bool InitPlatformServices();
    // Creates the document, the frame and the view in it, and runs the view's initial update.
    bool OpenNewDocument();

    CPlatformServices m_services;
    std::unique_ptr<CZoomzapDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<CZoomzapView> m_pView;
};

// The running application; null where windows are made without one (tests).
inline CZoomzapApp* GetZoomzapApp() {
    return dynamic_cast<CZoomzapApp*>(GetApp());
}

}  // namespace zz
