#include "view/pixel_rows.h"

#include <gtest/gtest.h>

#include <vector>

#include "view/bgra_image.h"

namespace zz {
namespace {

std::vector<std::uint32_t> Expand(RowFormat format, const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint32_t> pixels(bytes.size() / BytesPerPixel(format));
    ExpandRow(format, bytes.data(), int(pixels.size()), pixels.data());
    return pixels;
}

TEST(PixelRows, EveryLayoutBecomesPremultipliedBgra) {
    EXPECT_EQ(Expand(RowFormat::Gray8, {0, 128, 255}),
              (std::vector{Bgra(0, 0, 0), Bgra(128, 128, 128), Bgra(255, 255, 255)}));
    EXPECT_EQ(Expand(RowFormat::Bgr24, {1, 2, 3, 4, 5, 6}),
              (std::vector{Bgra(1, 2, 3), Bgra(4, 5, 6)}));
    // The unused byte of 32-bit BGR is often 0: the pixel must still be opaque.
    EXPECT_EQ(Expand(RowFormat::Bgrx32, {1, 2, 3, 0, 4, 5, 6, 9}),
              (std::vector{Bgra(1, 2, 3), Bgra(4, 5, 6)}));
    EXPECT_EQ(Expand(RowFormat::Bgra32, {10, 20, 30, 255, 255, 255, 255, 0, 255, 100, 0, 128}),
              (std::vector{Bgra(10, 20, 30, 255), Bgra(0, 0, 0, 0), Bgra(128, 50, 0, 128)}));
    EXPECT_EQ(Expand(RowFormat::Pbgra32, {128, 50, 0, 128}), (std::vector{Bgra(128, 50, 0, 128)}));
}

}  // namespace
}  // namespace zz
