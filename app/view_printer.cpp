#include "app/view_printer.h"

#include <cderr.h>
#include <commdlg.h>

#include "framework/unicode.h"
#include "framework/view.h"

namespace zz {

namespace {

// The device-mode and device-names blocks a print dialog hands out.
class GlobalBlock {
public:
    explicit GlobalBlock(HGLOBAL block) : m_block(block) {}
    ~GlobalBlock() {
        if (m_block != nullptr) {
            GlobalFree(m_block);
        }
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

private:
    HGLOBAL m_block;
};

// StartDoc and EndDoc (or AbortDoc when the page failed).
class DocGuard {
public:
    DocGuard(HDC dc, const std::wstring& name) : m_dc(dc) {
        DOCINFOW info{sizeof(info), name.c_str(), nullptr, nullptr, 0};
        m_bStarted = StartDocW(dc, &info) > 0;
    }
    ~DocGuard() {
        if (m_bStarted && !m_bDone) {
            AbortDoc(m_dc);
        }
    }
    DocGuard(const DocGuard&) = delete;
    DocGuard& operator=(const DocGuard&) = delete;

    bool Started() const { return m_bStarted; }
    bool End() {
        m_bDone = EndDoc(m_dc) > 0;
        return m_bDone;
    }

private:
    HDC m_dc;
    bool m_bStarted = false;
    bool m_bDone = false;
};

// Mapping mode, extents and origins, restored when the page is drawn.
class MappingGuard {
public:
    explicit MappingGuard(HDC dc) : m_dc(dc), m_nSaved(SaveDC(dc)) {}
    ~MappingGuard() {
        if (m_nSaved != 0) {
            RestoreDC(m_dc, m_nSaved);
        }
    }
    MappingGuard(const MappingGuard&) = delete;
    MappingGuard& operator=(const MappingGuard&) = delete;

private:
    HDC m_dc;
    int m_nSaved;
};

}  // namespace

MemoryDC ChoosePrinter(HWND owner, PrintResult& result) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = PrintDlgW(&dialog);
    const GlobalBlock devMode(dialog.hDevMode);
    const GlobalBlock devNames(dialog.hDevNames);
    MemoryDC dc(dialog.hDC);
    if (!chosen) {
        const DWORD error = CommDlgExtendedError();
        result = error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES ? PrintResult::kNoPrinter
                 : error == 0                                            ? PrintResult::kCancelled
                                                                         : PrintResult::kFailed;
        return {};
    }
    result = dc ? PrintResult::kPrinted : PrintResult::kFailed;
    return dc;
}

MemoryDC OpenPrinter(const std::string& printer, const std::string& driver,
                     const std::string& port) {
    if (!printer.empty()) {
        const std::wstring driverName = driver.empty() ? L"WINSPOOL" : Widen(driver);
        const std::wstring portName = Widen(port);
        return MemoryDC(CreateDCW(driverName.c_str(), Widen(printer).c_str(),
                                  port.empty() ? nullptr : portName.c_str(), nullptr));
    }
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    PrintDlgW(&dialog);  // without a default printer the DC stays null, which says it all
    const GlobalBlock devMode(dialog.hDevMode);
    const GlobalBlock devNames(dialog.hDevNames);
    return MemoryDC(dialog.hDC);
}

PrintResult PrintView(HDC printer, CView& view, const std::string& docName) {
    DocGuard doc(printer, Widen(docName));
    if (!doc.Started()) {
        return PrintResult::kFailed;
    }
    if (StartPage(printer) <= 0) {
        return PrintResult::kFailed;
    }
    const RECT page{0, 0, GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES)};
    RenderViewPage(printer, page, view);
    if (EndPage(printer) <= 0) {
        return PrintResult::kFailed;
    }
    return doc.End() ? PrintResult::kPrinted : PrintResult::kFailed;
}

void RenderViewPage(HDC dc, const RECT& page, CView& view) {
    RECT client{};
    GetClientRect(view.GetHwnd(), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int pageWidth = page.right - page.left;
    const int pageHeight = page.bottom - page.top;
    if (width <= 0 || height <= 0 || pageWidth <= 0 || pageHeight <= 0) {
        return;
    }
    // The largest size of the client's shape that fits the page, in 64 bits against overflow.
    int drawnWidth = pageWidth;
    int drawnHeight = static_cast<int>(static_cast<long long>(pageWidth) * height / width);
    if (drawnHeight > pageHeight) {
        drawnHeight = pageHeight;
        drawnWidth = static_cast<int>(static_cast<long long>(pageHeight) * width / height);
    }
    const MappingGuard mapping(dc);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, client.left, client.top, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    SetViewportOrgEx(dc, page.left + (pageWidth - drawnWidth) / 2,
                     page.top + (pageHeight - drawnHeight) / 2, nullptr);
    SetViewportExtEx(dc, drawnWidth, drawnHeight, nullptr);
    // The paint leaves what it does not cover to the window's white background.
    const RECT area = client;
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    view.Paint(dc, client);
}

}  // namespace zz
