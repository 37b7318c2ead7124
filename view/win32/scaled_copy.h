#pragma once
// Drawing a picture's levels scaled into a device context, through the one scaled copy the
// program keeps: a draw at the size of the last one only copies pixels.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "view/bgra_image.h"

namespace zz {

// Scales the part of the rectangle x, y, width, height inside the clip box from the nearest
// level at least as large, unless the copy already holds it, and copies it to dc. id names the
// picture that levels belong to. Allocates only when the copy must grow.
void DrawScaled(const std::vector<BgraImage>& levels, std::uint64_t id, HDC dc, int x, int y,
                int width, int height);

}  // namespace zz
