#include "view/win32/zoomzap_view.h"

#include "app/zoomzap_app.h"
#include "framework/gdi_guards.h"
#include "framework/handles.h"
#include "framework/unicode.h"
#include "settings/app_settings.h"

namespace zz {

namespace {

// The paint's texts: extra bold, 25 pixels high, a Japanese font of the system's choice,
// black on opaque white cells (the DC's defaults).
void DrawPaintText(HDC dc, int x, int y, std::wstring_view text) {
    Font font(CreateFontW(25, 13, 0, 0, FW_EXTRABOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                          OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, nullptr));
    SelectGuard select(dc, font.Get());
    TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
}

}  // namespace

CZoomzapView::CZoomzapView() {
    if (CZoomzapApp* app = GetZoomzapApp()) {
        app->m_pPlayView = this;
    }
}

void CZoomzapView::OnInitialUpdate() {
    LoadSettings();
    SetWindowTextW(GetParentFrame(), Widen(m_strTitle).c_str());
}

void CZoomzapView::LoadSettings() {
    CAppSettings settings;
    settings.Load();
    m_strTitle = settings.m_strTitle;
}

void CZoomzapView::ToggleFullScreen() {}

void CZoomzapView::Paint(HDC dc, const RECT& client) {
    const int cx = (client.left + client.right) / 2;
    const int cy = (client.top + client.bottom) / 2;
    DrawPaintText(dc, cx - 200, cy - 25, L"きーぼーどをバンバンたたいてね");
}

}  // namespace zz
