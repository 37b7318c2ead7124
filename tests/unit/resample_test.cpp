#include "view/resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "view/picture_levels.h"
#include "view/pixel_rows.h"

namespace zz {
namespace {

// Sharp, busy content: neighbouring pixels differ wildly in every channel.
BgraImage Noise(int width, int height) {
    BgraImage image(width, height);
    std::uint32_t state = 12345;
    for (std::uint32_t& pixel : image.pixels) {
        state = state * 1103515245u + 12345u;
        pixel = state ^ (state >> 13);
    }
    return image;
}

// Share of source pixel j inside destination pixel i when n source pixels become m.
double Coverage(int j, int i, int n, int m) {
    const double scale = double(n) / m;
    const double overlap = std::min(j + 1.0, (i + 1) * scale) - std::max(double(j), i * scale);
    return std::max(0.0, overlap) / scale;
}

// Largest distance of any channel of result from the exact area average of src.
double WorstError(const BgraImage& src, const BgraImage& result) {
    double worst = 0;
    for (int y = 0; y < result.height; ++y) {
        for (int x = 0; x < result.width; ++x) {
            for (int ch = 0; ch < 4; ++ch) {
                double expected = 0;
                for (int sy = 0; sy < src.height; ++sy) {
                    const double wy = Coverage(sy, y, src.height, result.height);
                    for (int sx = 0; wy > 0 && sx < src.width; ++sx) {
                        expected += wy * Coverage(sx, x, src.width, result.width) *
                                    Channel(src.At(sx, sy), ch);
                    }
                }
                worst = std::max(worst, std::abs(Channel(result.At(x, y), ch) - expected));
            }
        }
    }
    return worst;
}

TEST(Resample, ShrinkingGivesTheAreaAverage) {
    const BgraImage src = Noise(37, 23);
    // The draw-time scaler, over the reductions it is used for (less than 4).
    for (auto [w, h] : {std::pair{37, 23}, {25, 17}, {20, 11}, {10, 6}}) {
        EXPECT_LE(WorstError(src, Resample(src, w, h)), 2.0) << w << "x" << h;
    }
    // The load-time reducer, over any reduction, fed in strips of any height.
    for (auto [w, h, strip] : {std::tuple{37, 23, 1}, {13, 7, 23}, {1, 1, 3}, {37, 2, 2}}) {
        AreaDownscaler downscaler(src.width, src.height, w, h);
        for (int y = 0; y < src.height; y += strip) {
            downscaler.AddRows(src.Row(y), std::min(strip, src.height - y), src.width);
        }
        ASSERT_TRUE(downscaler.Done());
        downscaler.AddRows(src.Row(0), 1, src.width);  // a decoder handing out too much
        EXPECT_LE(WorstError(src, downscaler.TakeResult()), 1.0) << w << "x" << h;
    }
}

// Three pixels' bytes, of which two are converted: the third must stay where it is.
TEST(Resample, DecodedRowsBecomePremultipliedPixels) {
    const std::tuple<RowFormat, std::vector<std::uint8_t>, std::uint32_t, std::uint32_t> cases[] = {
        {RowFormat::Gray8, {7, 9, 1}, Bgra(7, 7, 7), Bgra(9, 9, 9)},
        {RowFormat::Bgr24, {1, 2, 3, 4, 5, 6, 7, 8, 9}, Bgra(1, 2, 3), Bgra(4, 5, 6)},
        // The unused byte of 32-bit BGR is often 0: the pixel must still be opaque.
        {RowFormat::Bgrx32, {1, 2, 3, 0, 4, 5, 6, 9, 1, 1, 1, 1}, Bgra(1, 2, 3), Bgra(4, 5, 6)},
        {RowFormat::Bgra32, {255, 100, 0, 128, 9, 9, 9, 0, 1, 1, 1, 1}, Bgra(128, 50, 0, 128), 0},
        {RowFormat::Pbgra32, {1, 2, 3, 4, 5, 6, 7, 8, 1, 1, 1, 1}, 0x04030201, 0x08070605}};
    for (const auto& [format, bytes, first, second] : cases) {
        std::vector<std::uint32_t> pixels(3, 0xDEADBEEF);
        ExpandRow(format, bytes.data(), 2, pixels.data());
        EXPECT_EQ(pixels, (std::vector<std::uint32_t>{first, second, 0xDEADBEEF}));
    }
}

// Both sides must fit: a target wider than a level's proportions takes the larger one.
TEST(Resample, LevelsHalveAndTheSmallestLargeEnoughIsChosen) {
    const std::vector<BgraImage> levels = BuildLevels(BgraImage(1600, 1200));
    EXPECT_EQ(levels.size(), 11u);  // down to 1 x 1
    EXPECT_EQ(ChooseLevel(levels, 801, 600), 0u);
    EXPECT_EQ(ChooseLevel(levels, 400, 300), 2u);
    EXPECT_EQ(ChooseLevel(levels, 400, 301), 1u);
    EXPECT_EQ(ChooseLevel(levels, 1, 1), levels.size() - 1);
}

// A transparent sticker shows on the surface's white, not on black.
TEST(Resample, TransparentPartsShowWhite) {
    BgraImage image(3, 1);
    image.At(0, 0) = Bgra(0, 0, 0, 0);
    image.At(1, 0) = Bgra(0, 0, 128, 128);  // half-covered red, premultiplied
    image.At(2, 0) = Bgra(200, 0, 0, 100);  // inconsistent input: clamped, not wrapped
    FlattenOnWhite(image);
    EXPECT_EQ(image.pixels,
              (std::vector{Bgra(255, 255, 255), Bgra(127, 127, 255), Bgra(255, 155, 155)}));
}

}  // namespace
}  // namespace zz
