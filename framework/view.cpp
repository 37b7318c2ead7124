#include "framework/view.h"

#include "framework/gdi_guards.h"

namespace zz {

bool CView::Create(HWND frame) {
    // The system window colour, white unless the user changed it, erases the background.
    static const WindowClass viewClass{L"ZoomzapView", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)};
    RECT client{};
    GetClientRect(frame, &client);
    constexpr UINT kFirstPaneId = 0xE900;  // the one pane of a single-view frame
    return CreateEx(viewClass, 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, client, frame,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstPaneId)));
}

void CView::OnPaint() {
    PaintGuard paint(GetHwnd());
    RECT client{};
    GetClientRect(GetHwnd(), &client);
    Paint(paint.Dc(), client);
}

}  // namespace zz
