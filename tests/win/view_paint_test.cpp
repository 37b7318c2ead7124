// The play view's texts painted into a memory DC at two DPIs, their pixels read back. Where they
// stand at 96 DPI the end-to-end tests show; here, that they grow with the DPI.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "framework/gdi_guards.h"
#include "framework/handles.h"
#include "view/win32/zoomzap_view.h"

namespace zz {
namespace {

// The bounding box of the dark pixels the view paints on white into an 800 by 600 client area.
RECT DarkBox(int dpi) {
    constexpr int kWidth = 800, kHeight = 600;
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    const Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const MemoryDC dc(CreateCompatibleDC(nullptr));
    const SelectGuard select(dc.Get(), bitmap.Get());
    auto* pixels = static_cast<std::uint32_t*>(bits);
    std::fill(pixels, pixels + kWidth * kHeight, 0xFFFFFF);
    CZoomzapView view;
    view.SetDpi(dpi);
    view.Paint(dc.Get(), RECT{0, 0, kWidth, kHeight});
    GdiFlush();
    RECT box{kWidth, kHeight, 0, 0};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t p = pixels[y * kWidth + x];
            if (((p >> 16) & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 100) {
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            }
        }
    }
    return box;
}

TEST(ViewPaintTest, TextsGrowWithTheDpiAndStayWhereTheLayoutPutsThem) {
    // At 96 DPI the corner is 200 left of and 25 above the middle (400, 300), with 25-pixel
    // characters, so nothing below the middle line; fifteen full-width characters, however wide
    // the font. Twice the DPI: the corner twice as far from the middle, characters twice as large.
    const RECT at96 = DarkBox(96), at192 = DarkBox(192);
    ASSERT_LT(at96.left, at96.right) << "no text drawn";
    EXPECT_TRUE(at96.left >= 200 && at96.left <= 215 && at96.top >= 275 && at96.bottom <= 300);
    EXPECT_GE(at96.bottom - at96.top, 15);
    EXPECT_GE(at96.right - at96.left, 190);
    ASSERT_LT(at192.left, at192.right) << "no text drawn at 192 DPI";
    EXPECT_TRUE(at192.left >= 0 && at192.left <= 30 && at192.top >= 250 && at192.bottom <= 300);
    EXPECT_NEAR(double(at192.right - at192.left) / (at96.right - at96.left), 2.0, 0.25);
    EXPECT_NEAR(double(at192.bottom - at192.top) / (at96.bottom - at96.top), 2.0, 0.3);
}

}  // namespace
}  // namespace zz
