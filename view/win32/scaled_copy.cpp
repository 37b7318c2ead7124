#include "view/win32/scaled_copy.h"

#include <algorithm>
#include <cstdint>

#include "framework/gdi_guards.h"
#include "framework/handles.h"
#include "view/picture_levels.h"
#include "view/resample.h"

namespace zz {
namespace {

// Larger visible parts (a huge printer page, say) are drawn in bands of this many pixels.
constexpr std::int64_t kMaxCopyPixels = 1 << 24;
// Scaled rows go out in bands of about this many pixels (2 MB), which the cache holds.
constexpr int kCacheBandPixels = 1 << 19;
// The copy grows in steps, so that a growing picture does not make a new one every tick.
constexpr int kGrowthStep = 256;

int RoundUp(int value) {
    return (value + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
}

// The part of the rectangle inside the clip box, relative to the rectangle.
bool VisiblePart(HDC dc, int x, int y, int width, int height, Region& part) {
    std::int64_t left = x;
    std::int64_t top = y;
    std::int64_t right = std::int64_t(x) + width;
    std::int64_t bottom = std::int64_t(y) + height;
    RECT clip{};
    if (GetClipBox(dc, &clip) != ERROR) {  // an empty clip region gives an empty box
        left = std::max<std::int64_t>(left, clip.left);
        top = std::max<std::int64_t>(top, clip.top);
        right = std::min<std::int64_t>(right, clip.right);
        bottom = std::min<std::int64_t>(bottom, clip.bottom);
    }
    if (right <= left || bottom <= top) {
        return false;
    }
    part = {int(left - x), int(top - y), int(right - left), int(bottom - top)};
    return true;
}

class ScaledCopy {
public:
    void Draw(const std::vector<BgraImage>& levels, std::uint64_t id, HDC dc, int x, int y,
              int width, int height) {
        Region visible;
        if (levels.empty() || width <= 0 || height <= 0 ||
            !VisiblePart(dc, x, y, width, height, visible)) {
            return;
        }
        const BgraImage& source = levels[ChooseLevel(levels, width, height)];
        if (source.width == width && source.height == height) {
            CopyUnscaled(source, dc, x, y, visible);
            return;
        }
        const int bandRows = int(std::max<std::int64_t>(1, kMaxCopyPixels / visible.width));
        const int end = visible.top + visible.height;
        for (int top = visible.top; top < end; top += std::min(bandRows, end - top)) {
            const Region part{visible.left, top, visible.width, std::min(bandRows, end - top)};
            if (Holds(id, width, height, part)) {
                SelectGuard select(m_dc.Get(), m_bitmap.Get());
                // Nothing sensible is left to do when a copy fails, here or below.
                BitBlt(dc, x + part.left, y + part.top, part.width, part.height, m_dc.Get(),
                       part.left - m_region.left, part.top - m_region.top, SRCCOPY);
            } else if (!ScaleAndCopy(source, id, width, height, part, dc, x, y)) {
                return;
            }
        }
    }

private:
    // A level of the very size drawn goes straight to dc: nothing to scale, nothing to keep.
    static void CopyUnscaled(const BgraImage& source, HDC dc, int x, int y, const Region& part) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = source.width;
        info.bmiHeader.biHeight = -part.height;  // the visible rows only, top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, x + part.left, y + part.top, DWORD(part.width), DWORD(part.height),
                          part.left, 0, 0, UINT(part.height), source.Row(part.top), &info,
                          DIB_RGB_COLORS);
    }

    bool Holds(std::uint64_t id, int width, int height, const Region& part) const {
        return m_bitmap && id == m_id && width == m_width && height == m_height &&
               part.left >= m_region.left && part.top >= m_region.top &&
               part.left + part.width <= m_region.left + m_region.width &&
               part.top + part.height <= m_region.top + m_region.height;
    }

    // Scales the part into the bitmap and copies it on a few rows at a time, each while it is
    // still in the processor's cache.
    bool ScaleAndCopy(const BgraImage& source, std::uint64_t id, int width, int height,
                      const Region& part, HDC dc, int x, int y) {
        if (!Reserve(part.width, part.height)) {
            return false;
        }
        m_id = 0;
        GdiFlush();  // GDI may still be working on the bitmap's pixels
        RegionResampler scaler(source, width, height, part, m_scratch);
        const int rows = std::max(1, kCacheBandPixels / part.width);
        SelectGuard select(m_dc.Get(), m_bitmap.Get());
        for (int r = 0; r < part.height; r += rows) {
            const int n = std::min(rows, part.height - r);
            scaler.Rows(r, n, m_bits + std::ptrdiff_t(r) * m_capacityWidth, m_capacityWidth);
            BitBlt(dc, x + part.left, y + part.top + r, part.width, n, m_dc.Get(), 0, r, SRCCOPY);
        }
        m_id = id;
        m_width = width;
        m_height = height;
        m_region = part;
        return true;
    }

    // A bitmap of at least width x height pixels.
    bool Reserve(int width, int height) {
        if (m_bitmap && width <= m_capacityWidth && height <= m_capacityHeight) {
            return true;
        }
        int w = std::max(m_capacityWidth, RoundUp(width));
        int h = std::max(m_capacityHeight, RoundUp(height));
        if (std::int64_t(w) * h > kMaxCopyPixels) {
            w = width;
            h = height;
        }
        m_bitmap.Reset();
        m_id = 0;
        m_capacityWidth = m_capacityHeight = 0;
        if (!m_dc) {
            m_dc = MemoryDC(CreateCompatibleDC(nullptr));
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;  // top-down, as the pixels are laid out
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!m_dc || !m_bitmap) {
            m_bitmap.Reset();
            return false;
        }
        m_bits = static_cast<std::uint32_t*>(bits);
        m_capacityWidth = w;
        m_capacityHeight = h;
        return true;
    }

    MemoryDC m_dc;
    Bitmap m_bitmap;
    std::uint32_t* m_bits = nullptr;
    int m_capacityWidth = 0;
    int m_capacityHeight = 0;
    // What the bitmap holds: the part m_region of picture m_id scaled to m_width x m_height.
    std::uint64_t m_id = 0;
    int m_width = 0;
    int m_height = 0;
    Region m_region;
    ResampleScratch m_scratch;
};

}  // namespace

void DrawScaled(const std::vector<BgraImage>& levels, std::uint64_t id, HDC dc, int x, int y,
                int width, int height) {
    // One for the program: the surface shows one picture at a time.
    static ScaledCopy copy;
    copy.Draw(levels, id, dc, x, y, width, height);
}

}  // namespace zz
