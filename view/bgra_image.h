#pragma once
// A decoded picture in memory: 32-bit pixels, blue in the low byte, rows top-down without
// padding, as a top-down 32-bit DIB lays them out.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zz {

struct BgraImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    BgraImage() = default;
    BgraImage(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h)) {}

    std::uint32_t* Row(int y) { return pixels.data() + std::size_t(y) * std::size_t(width); }
    const std::uint32_t* Row(int y) const {
        return pixels.data() + std::size_t(y) * std::size_t(width);
    }
    std::uint32_t& At(int x, int y) { return Row(y)[x]; }
    std::uint32_t At(int x, int y) const { return Row(y)[x]; }
};

// Packs one pixel; the channels are 0..255.
constexpr std::uint32_t Bgra(std::uint32_t blue, std::uint32_t green, std::uint32_t red,
                             std::uint32_t alpha = 255) {
    return blue | (green << 8) | (red << 16) | (alpha << 24);
}

constexpr int Channel(std::uint32_t pixel, int index) {
    return int((pixel >> (8 * index)) & 0xFF);
}

}  // namespace zz
