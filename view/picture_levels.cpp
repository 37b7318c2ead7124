#include "view/picture_levels.h"

#include <algorithm>
#include <utility>

#include "view/resample.h"

namespace zz {

void FlattenOnWhite(BgraImage& premultiplied) {
    for (std::uint32_t& pixel : premultiplied.pixels) {
        const std::uint32_t uncovered = 255 - (pixel >> 24);
        std::uint32_t flat = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            // A premultiplied channel never exceeds alpha; clamp for decoders that disagree.
            const std::uint32_t value = ((pixel >> shift) & 0xFF) + uncovered;
            flat |= std::min<std::uint32_t>(value, 255) << shift;
        }
        pixel = flat;
    }
}

std::vector<BgraImage> BuildLevels(BgraImage top) {
    std::vector<BgraImage> levels;
    levels.push_back(std::move(top));
    while (levels.back().width > 1 || levels.back().height > 1) {
        const BgraImage& last = levels.back();
        BgraImage half = Resample(last, std::max(1, last.width / 2), std::max(1, last.height / 2));
        levels.push_back(std::move(half));
    }
    return levels;
}

std::size_t ChooseLevel(const std::vector<BgraImage>& levels, int width, int height) {
    std::size_t chosen = 0;
    for (std::size_t i = 1; i < levels.size(); ++i) {
        if (levels[i].width < width || levels[i].height < height) {
            break;
        }
        chosen = i;
    }
    return chosen;
}

std::size_t LevelBytes(const std::vector<BgraImage>& levels) {
    std::size_t bytes = 0;
    for (const BgraImage& level : levels) {
        bytes += level.pixels.size() * sizeof(std::uint32_t);
    }
    return bytes;
}

}  // namespace zz
