#pragma once
// Plain rectangle of client pixels, right and bottom exclusive, as Win32 RECT.

#include <algorithm>
#include <cstdint>

namespace zz {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// Smallest rectangle that holds both.
inline Rect Union(const Rect& a, const Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// Pixels at 96 dots per inch, where the layout was drawn, to pixels at `dpi`; rounded half
// away from zero, as MulDiv rounds.
inline int ScaleToDpi(int pixelsAt96, int dpi) {
    constexpr std::int64_t kBaseDpi = 96;
    const std::int64_t product = static_cast<std::int64_t>(pixelsAt96) * dpi;
    const std::int64_t magnitude = (std::max(product, -product) + kBaseDpi / 2) / kBaseDpi;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

}  // namespace zz
