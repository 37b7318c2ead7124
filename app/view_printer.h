#pragma once
// Printing the play surface: one page with what the view shows, scaled to fill the page.

#include <windows.h>

#include <string>

#include "framework/handles.h"

namespace zz {

class CView;

enum class PrintResult { kPrinted, kCancelled, kNoPrinter, kFailed };

// The print dialog, owned by owner; the chosen printer's device context, or empty with the
// reason (cancelled, or no printer installed).
PrinterDC ChoosePrinter(HWND owner, PrintResult& result);
// The default printer, or the named one with its driver and port; empty when there is none.
PrinterDC OpenPrinter(const std::string& printer, const std::string& driver,
                      const std::string& port);

// Prints one page of view on printer as document docName.
PrintResult PrintView(HDC printer, CView& view, const std::string& docName);

// Draws the view's client area into the page rectangle of dc, as large as fits with the aspect
// kept and centred; the rest of the page is left as it is.
void RenderViewPage(HDC dc, const RECT& page, CView& view);

}  // namespace zz
