#pragma once
// The application: start-up, the one document and frame, the document commands and the about
// box.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_profile.h"
#include "app/automation_server.h"
#include "app/command_line.h"
#include "app/platform_services.h"
#include "app/recent_file_list.h"
#include "framework/win_app.h"

namespace zz {

class CMainFrame;
class CZoomzapDoc;

class CZoomzapApp : public CWinApp {
public:
    CZoomzapApp();
    ~CZoomzapApp() override;

    bool InitInstance() override;
    bool OnCommand(UINT id) override;

    static constexpr size_t kRecentFileCount = 4;

private:
    bool InitPlatformServices();
    // Carries out the command line; false when the program is to end.
    bool ProcessShellCommand(const CCommandLineInfo& info);
    bool PrintFromCommandLine(const CCommandLineInfo& info);
    // Creates the frame with the view in it, the first time only.
    bool CreateFrame();
    // Starts the document anew (creating the frame on first use) and runs the initial update.
    bool OpenNewDocument();
    // Opens the first of the candidates that can be read as the document, without reading it,
    // remembers it, and runs the initial update; tells the parent when none can.
    bool OpenDocumentFile(const std::vector<std::string>& candidates);
    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFilePrint();
    void AddToRecentFileList(const std::string& path);
    // The title of the document: its file's name, or the new-document name while untitled.
    std::string DocumentTitle() const;
    // The owner of the program's messages, once there is a frame.
    HWND MainHwnd() const;

    CPlatformServices m_services;
    CAppProfile m_profile;
    CRecentFileList m_recentFiles{kRecentFileCount};
    CAutomationServer m_server;
    std::unique_ptr<CZoomzapDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};

}  // namespace zz
