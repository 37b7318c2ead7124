#include "app/view_printer.h"

#include <cderr.h>
#include <commdlg.h>

#include "framework/gdi_guards.h"
#include "framework/scope_exit.h"
#include "framework/unicode.h"
#include "framework/view.h"

namespace zz {

PrinterDC ChoosePrinter(HWND owner, PrintResult& result) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = PrintDlgW(&dialog);
    const GlobalMemory devMode(dialog.hDevMode);
    const GlobalMemory devNames(dialog.hDevNames);
    PrinterDC dc(dialog.hDC);
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

PrinterDC OpenPrinter(const std::string& printer, const std::string& driver,
                      const std::string& port) {
    if (!printer.empty()) {
        const std::wstring driverName = driver.empty() ? L"WINSPOOL" : Widen(driver);
        const std::wstring portName = Widen(port);
        return PrinterDC(CreateDCW(driverName.c_str(), Widen(printer).c_str(),
                                   port.empty() ? nullptr : portName.c_str(), nullptr));
    }
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    PrintDlgW(&dialog);  // without a default printer the DC stays null, which says it all
    const GlobalMemory devMode(dialog.hDevMode);
    const GlobalMemory devNames(dialog.hDevNames);
    return PrinterDC(dialog.hDC);
}

PrintResult PrintView(HDC printer, CView& view, const std::string& docName) {
    const std::wstring name = Widen(docName);
    const DOCINFOW info{sizeof(info), name.c_str(), nullptr, nullptr, 0};
    if (StartDocW(printer, &info) <= 0) {
        return PrintResult::kFailed;
    }
    // A job that did not end well is taken back whole.
    ScopeExit abortJob([printer] { AbortDoc(printer); });
    if (StartPage(printer) <= 0) {
        return PrintResult::kFailed;
    }
    const RECT page{0, 0, GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES)};
    RenderViewPage(printer, page, view);
    if (EndPage(printer) <= 0 || EndDoc(printer) <= 0) {
        return PrintResult::kFailed;
    }
    abortJob.Dismiss();
    return PrintResult::kPrinted;
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
    const SavedDC mapping(dc);  // mapping mode, extents and origins come back
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
