// The play view painting into a memory DC, its pixels read back.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "framework/gdi_guards.h"
#include "framework/handles.h"
#include "view/win32/zoomzap_view.h"

namespace zz {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x808080;

// A 32-bit top-down bitmap selected into a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, uint32_t fill) : m_width(width), m_height(height) {
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                        {}};
        void* bits = nullptr;
        m_bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<uint32_t*>(bits);
        m_dc.Reset(CreateCompatibleDC(nullptr));
        m_select.emplace(m_dc.Get(), m_bitmap.Get());
        std::fill(m_bits, m_bits + width * height, fill);
    }

    HDC Dc() const { return m_dc.Get(); }
    uint32_t At(int x, int y) const {
        GdiFlush();
        return m_bits[y * m_width + x] & 0xFFFFFF;
    }
    static bool IsDark(uint32_t pixel) {
        return ((pixel >> 16) & 0xFF) < 100 && ((pixel >> 8) & 0xFF) < 100 && (pixel & 0xFF) < 100;
    }

    // Bounding box of the pixels that match; empty (right <= left) when there are none.
    template <typename Match>
    RECT Box(Match match) const {
        RECT box{m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (match(At(x, y))) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
            }
        }
        return box;
    }

    int Count(uint32_t colour, const RECT& area) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                count += At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

private:
    int m_width;
    int m_height;
    Bitmap m_bitmap;
    uint32_t* m_bits = nullptr;
    MemoryDC m_dc;
    std::optional<SelectGuard> m_select;
};

TEST(ViewPaintTest, TextCellsAreOpaqueWhiteAndNothingElseIsPainted) {
    CZoomzapView view;
    // An offset client rectangle: the middle comes from its edges, here (500, 400).
    Canvas canvas(900, 700, kGrey);
    view.Paint(canvas.Dc(), RECT{100, 100, 900, 700});

    const RECT painted = canvas.Box([](uint32_t pixel) { return pixel != kGrey; });
    EXPECT_EQ(painted.left, 300);
    EXPECT_EQ(painted.top, 375);
    EXPECT_EQ(painted.bottom, 400) << "one line of 25-pixel cells";
    EXPECT_GE(painted.right - painted.left, 190);
    EXPECT_EQ(canvas.Count(kGrey, painted), 0) << "the cells are filled";
    EXPECT_GT(canvas.Count(kWhite, painted), 0) << "white behind the characters";
}

TEST(ViewPaintTest, TextsGrowWithTheDpiAndStayWhereTheLayoutPutsThem) {
    // 96 DPI first, then twice that: the text's corner moves twice as far from the middle
    // (400, 300) and its characters are twice as large.
    RECT boxes[2]{};
    int index = 0;
    for (const int dpi : {96, 192}) {
        CZoomzapView view;
        view.SetDpi(dpi);
        Canvas canvas(800, 600, kWhite);
        view.Paint(canvas.Dc(), RECT{0, 0, 800, 600});
        boxes[index++] = canvas.Box([](uint32_t pixel) { return Canvas::IsDark(pixel); });
    }
    // At 96 DPI the corner is 200 left of and 25 above the middle; 25-pixel characters, so
    // nothing below the middle line. Fifteen full-width characters, however wide the font.
    const RECT& at96 = boxes[0];
    ASSERT_LT(at96.left, at96.right) << "no text drawn";
    EXPECT_GE(at96.left, 200);
    EXPECT_LE(at96.left, 215);
    EXPECT_GE(at96.top, 275);
    EXPECT_LE(at96.bottom, 300);
    EXPECT_GE(at96.bottom - at96.top, 15);
    EXPECT_GE(at96.right - at96.left, 190);
    const RECT& at192 = boxes[1];
    ASSERT_LT(at192.left, at192.right) << "no text drawn at 192 DPI";
    EXPECT_GE(at192.left, 0);
    EXPECT_LE(at192.left, 30);
    EXPECT_GE(at192.top, 250);
    EXPECT_LE(at192.bottom, 300);
    const double widthRatio = double(at192.right - at192.left) / (at96.right - at96.left);
    const double heightRatio = double(at192.bottom - at192.top) / (at96.bottom - at96.top);
    EXPECT_NEAR(widthRatio, 2.0, 0.25);
    EXPECT_NEAR(heightRatio, 2.0, 0.3);
}

}  // namespace
}  // namespace zz
