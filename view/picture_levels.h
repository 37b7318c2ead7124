#pragma once
// A decoded picture kept at a few sizes, each half the one before, so that any drawn size is
// scaled from a source less than twice as large: few source pixels per drawn pixel, and fast.

#include <cstddef>
#include <vector>

#include "view/bgra_image.h"

namespace zz {

// Premultiplied pixels laid over white, as the play surface is: transparent parts show white.
// The result is opaque.
void FlattenOnWhite(BgraImage& premultiplied);

// top, then halvings (rounded down, at least 1 pixel) until 1 x 1.
std::vector<BgraImage> BuildLevels(BgraImage top);

// The smallest level at least width x height, or the first when none is as large.
std::size_t ChooseLevel(const std::vector<BgraImage>& levels, int width, int height);

// Bytes the levels' pixels take.
std::size_t LevelBytes(const std::vector<BgraImage>& levels);

}  // namespace zz
