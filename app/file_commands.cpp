// The document commands of the application: new, open, save and print.

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "app/main_frame.h"
#include "app/view_printer.h"
#include "app/zoomzap_app.h"
#include "app/zoomzap_doc.h"
#include "framework/message_box.h"
#include "framework/module.h"
#include "framework/unicode.h"
#include "resources/resource.h"

namespace zz {

namespace {

// "name\0*.*\0\0", as the file dialogs take their filters.
std::wstring AllFilesFilter() {
    std::wstring filter = LoadResourceString(IDS_ALL_FILES_FILTER);
    filter.push_back(L'\0');
    filter += L"*.*";
    filter.push_back(L'\0');
    return filter;
}

// A file dialog's request with the one filter, naming its choice in path. The filter must
// outlive the request.
OPENFILENAMEW FileDialogRequest(HWND owner, const std::wstring& filter, wchar_t (&path)[MAX_PATH],
                                DWORD flags) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = flags | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    return dialog;
}

}  // namespace

std::string CZoomzapApp::DocumentTitle() const {
    const std::string& path = m_pDocument ? m_pDocument->GetPathName() : std::string();
    if (!path.empty()) {
        return path.substr(path.find_last_of("\\/") + 1);
    }
    // The new-document name: the third line of the document strings.
    const std::string strings = Narrow(LoadResourceString(IDR_MAINFRAME));
    const size_t first = strings.find('\n');
    const size_t second = first == std::string::npos ? first : strings.find('\n', first + 1);
    return second == std::string::npos ? std::string()
                                       : strings.substr(first + 1, second - first - 1);
}

void CZoomzapApp::OnFileNew() {
    OpenNewDocument();  // cannot fail once the frame exists
}

void CZoomzapApp::OnFileOpen() {
    const std::wstring filter = AllFilesFilter();
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW dialog = FileDialogRequest(MainHwnd(), filter, path, OFN_FILEMUSTEXIST);
    if (GetOpenFileNameW(&dialog)) {
        OpenDocumentFile({Narrow(path)});  // reports its own failure
    }
}

void CZoomzapApp::OnFileSave() {
    // Always asked, even for a document opened from a file: writing the empty document over
    // that file unasked would destroy it.
    const std::wstring filter = AllFilesFilter();
    wchar_t path[MAX_PATH] = {};
    const std::wstring title = Widen(DocumentTitle());
    title.copy(path, MAX_PATH - 1);
    OPENFILENAMEW dialog = FileDialogRequest(MainHwnd(), filter, path, OFN_OVERWRITEPROMPT);
    if (!GetSaveFileNameW(&dialog)) {
        return;
    }
    // The document holds nothing, so its file is empty.
    const KernelHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        ShowMessage(MainHwnd(), IDP_FAILED_TO_SAVE_DOC, path);
        return;
    }
    m_pDocument->SetPathName(Narrow(path));
    AddToRecentFileList(Narrow(path));
}

void CZoomzapApp::OnFilePrint() {
    // Without a printer the print dialog has already said so itself.
    PrintResult result = PrintResult::kCancelled;
    const PrinterDC printer = ChoosePrinter(MainHwnd(), result);
    if (printer) {
        result = PrintView(printer.Get(), m_pMainFrame->View(), DocumentTitle());
    }
    if (result == PrintResult::kFailed) {
        ShowMessage(MainHwnd(), IDP_PRINT_FAILED);
    }
}

bool CZoomzapApp::PrintFromCommandLine(const CCommandLineInfo& info) {
    if (!OpenDocumentFile(info.FileCandidates())) {
        return false;
    }
    const PrinterDC printer =
        OpenPrinter(info.m_strPrinterName, info.m_strDriverName, info.m_strPortName);
    if (!printer) {
        ShowMessage(MainHwnd(), IDP_NO_PRINTER);
        return false;
    }
    if (PrintView(printer.Get(), m_pMainFrame->View(), DocumentTitle()) != PrintResult::kPrinted) {
        ShowMessage(MainHwnd(), IDP_PRINT_FAILED);
        return false;
    }
    return true;
}

}  // namespace zz
