#include "view/resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

BgraImage Checkerboard(int size) {
    BgraImage image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.At(x, y) = (x + y) % 2 ? Bgra(255, 255, 255) : Bgra(0, 0, 0);
        }
    }
    return image;
}

// Share of source pixel j inside destination pixel i when n source pixels become m.
double Coverage(int j, int i, int n, int m) {
    const double scale = double(n) / m;
    const double overlap = std::min(j + 1.0, (i + 1) * scale) - std::max(double(j), i * scale);
    return std::max(0.0, overlap) / scale;
}

// The exact area average, computed the slow way.
double ReferenceAverage(const BgraImage& src, int dstWidth, int dstHeight, int x, int y, int ch) {
    double sum = 0;
    for (int sy = 0; sy < src.height; ++sy) {
        const double wy = Coverage(sy, y, src.height, dstHeight);
        for (int sx = 0; wy > 0 && sx < src.width; ++sx) {
            sum += wy * Coverage(sx, x, src.width, dstWidth) * Channel(src.At(sx, sy), ch);
        }
    }
    return sum;
}

// Largest distance of any channel of result from the exact area average of src.
double WorstError(const BgraImage& src, const BgraImage& result) {
    double worst = 0;
    for (int y = 0; y < result.height; ++y) {
        for (int x = 0; x < result.width; ++x) {
            for (int ch = 0; ch < 4; ++ch) {
                const double expected =
                    ReferenceAverage(src, result.width, result.height, x, y, ch);
                worst = std::max(worst, std::abs(Channel(result.At(x, y), ch) - expected));
            }
        }
    }
    return worst;
}

BgraImage Downscale(const BgraImage& src, int width, int height, int strip) {
    AreaDownscaler downscaler(src.width, src.height, width, height);
    for (int y = 0; y < src.height; y += strip) {
        downscaler.AddRows(src.Row(y), std::min(strip, src.height - y), src.width);
    }
    EXPECT_TRUE(downscaler.Done());
    return downscaler.TakeResult();
}

TEST(Resample, ShrinkingGivesTheAreaAverage) {
    const BgraImage src = Noise(37, 23);
    // The draw-time scaler, over the reductions it is used for (less than 4).
    for (auto [w, h] : {std::pair{37, 23}, {36, 22}, {25, 17}, {19, 12}, {20, 11}, {10, 6}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        EXPECT_LE(WorstError(src, Resample(src, w, h)), 2.0);
    }
    // The load-time reducer, over any reduction, fed in strips of any height.
    for (auto [w, h, strip] : {std::tuple{37, 23, 1},
                               {30, 20, 5},
                               {13, 7, 23},
                               {5, 3, 4},
                               {1, 1, 3},
                               {37, 2, 2},
                               {2, 23, 9}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " strip " << strip);
        EXPECT_LE(WorstError(src, Downscale(src, w, h, strip)), 1.0);
    }
}

TEST(Resample, CheckerboardBecomesGreyNotJaggies) {
    // Nearest-neighbour sampling would keep pure black and white pixels here.
    auto grey = [](const BgraImage& image) {
        return std::all_of(image.pixels.begin(), image.pixels.end(), [](std::uint32_t pixel) {
            return Channel(pixel, 0) > 90 && Channel(pixel, 0) < 165 &&
                   Channel(pixel, 1) == Channel(pixel, 0) && Channel(pixel, 3) == 255;
        });
    };
    EXPECT_TRUE(grey(Resample(Checkerboard(64), 45, 45)));
    EXPECT_TRUE(grey(Resample(Checkerboard(64), 33, 33)));
    EXPECT_TRUE(grey(Downscale(Checkerboard(200), 73, 73, 16)));
    EXPECT_TRUE(grey(Downscale(Checkerboard(200), 7, 7, 200)));
}

TEST(Resample, FlatColourStaysExactAtEverySize) {
    BgraImage flat(9, 7);
    std::fill(flat.pixels.begin(), flat.pixels.end(), Bgra(10, 100, 200, 250));
    for (auto [w, h] : {std::pair{9, 7}, {5, 4}, {6, 5}, {1, 1}, {20, 3}, {200, 150}}) {
        const BgraImage scaled = Resample(flat, w, h);
        EXPECT_TRUE(std::all_of(scaled.pixels.begin(), scaled.pixels.end(),
                                [](std::uint32_t p) { return p == Bgra(10, 100, 200, 250); }))
            << w << "x" << h;
    }
    const BgraImage reduced = Downscale(flat, 4, 3, 2);
    EXPECT_TRUE(std::all_of(reduced.pixels.begin(), reduced.pixels.end(),
                            [](std::uint32_t p) { return p == Bgra(10, 100, 200, 250); }));
}

TEST(Resample, EnlargingBlendsSmoothly) {
    BgraImage pair(2, 1);
    pair.At(0, 0) = Bgra(0, 0, 0);
    pair.At(1, 0) = Bgra(255, 255, 255);
    const BgraImage wide = Resample(pair, 8, 1);
    EXPECT_EQ(wide.At(0, 0), Bgra(0, 0, 0));
    EXPECT_EQ(wide.At(7, 0), Bgra(255, 255, 255));
    for (int x = 1; x < 8; ++x) {
        EXPECT_LE(Channel(wide.At(x - 1, 0), 0), Channel(wide.At(x, 0), 0));
    }
    // Pixels between the two source centres take values between, not a hard step.
    EXPECT_GT(Channel(wide.At(3, 0), 2), 60);
    EXPECT_LT(Channel(wide.At(3, 0), 2), 128);
    EXPECT_GT(Channel(wide.At(4, 0), 2), 128);
    EXPECT_LT(Channel(wide.At(4, 0), 2), 195);
}

TEST(Resample, RegionMatchesTheSamePartOfTheWholePicture) {
    const BgraImage src = Noise(31, 17);
    ResampleScratch scratch;  // shared on purpose: reuse must not leak between calls
    for (auto [w, h] : {std::pair{20, 11}, {31, 17}, {50, 40}, {16, 9}}) {
        const BgraImage whole = Resample(src, w, h);
        for (const Region& region : {Region{0, 0, w, h}, Region{3, 2, 5, 4},
                                     Region{w - 1, h - 1, 1, 1}, Region{0, h / 2, w, 1}}) {
            std::vector<std::uint32_t> part(std::size_t(region.width + 3) * region.height);
            ResampleRegion(src, w, h, region, part.data(), region.width + 3, scratch);
            for (int y = 0; y < region.height; ++y) {
                for (int x = 0; x < region.width; ++x) {
                    ASSERT_EQ(part[std::size_t(y) * (region.width + 3) + x],
                              whole.At(region.left + x, region.top + y))
                        << w << "x" << h << " at " << x << "," << y;
                }
            }
        }
        // In bands of rows, as drawing hands them on.
        std::vector<std::uint32_t> banded(std::size_t(w) * h);
        RegionResampler bands(src, w, h, {0, 0, w, h}, scratch);
        for (int top = 0; top < h; top += 3) {
            bands.Rows(top, std::min(3, h - top), banded.data() + std::size_t(top) * w, w);
        }
        EXPECT_EQ(banded, whole.pixels) << w << "x" << h;
    }
}

TEST(Resample, DownscalerIgnoresRowsPastTheEnd) {
    const BgraImage src = Noise(8, 6);
    AreaDownscaler downscaler(8, 6, 4, 3);
    downscaler.AddRows(src.Row(0), 5, 8);
    EXPECT_FALSE(downscaler.Done());
    downscaler.AddRows(src.Row(5), 1, 8);
    EXPECT_TRUE(downscaler.Done());
    downscaler.AddRows(src.Row(0), 6, 8);  // a decoder handing out too much changes nothing
    EXPECT_LE(WorstError(src, downscaler.TakeResult()), 1.0);
}

}  // namespace
}  // namespace zz
