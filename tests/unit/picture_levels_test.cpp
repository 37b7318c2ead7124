#include "view/picture_levels.h"

#include <gtest/gtest.h>

namespace zz {
namespace {

TEST(PictureLevels, HalveDownToOnePixelAndKeepTheirColour) {
    BgraImage top(13, 6);
    std::fill(top.pixels.begin(), top.pixels.end(), Bgra(1, 2, 3));
    const std::vector<BgraImage> levels = BuildLevels(top);
    const std::vector<std::pair<int, int>> expected = {{13, 6}, {6, 3}, {3, 1}, {1, 1}};
    ASSERT_EQ(levels.size(), expected.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        EXPECT_EQ(std::pair(levels[i].width, levels[i].height), expected[i]);
        EXPECT_EQ(levels[i].pixels.size(), std::size_t(levels[i].width) * levels[i].height);
        EXPECT_EQ(levels[i].At(0, 0), Bgra(1, 2, 3));
    }
    EXPECT_EQ(LevelBytes(levels), (78u + 18 + 3 + 1) * 4);
}

TEST(PictureLevels, ChooseTheSmallestAtLeastAsLarge) {
    const std::vector<BgraImage> levels = BuildLevels(BgraImage(1600, 1200));
    EXPECT_EQ(ChooseLevel(levels, 1920, 1440), 0u);  // larger than any: the largest
    EXPECT_EQ(ChooseLevel(levels, 1600, 1200), 0u);
    EXPECT_EQ(ChooseLevel(levels, 801, 600), 0u);
    EXPECT_EQ(ChooseLevel(levels, 800, 600), 1u);
    EXPECT_EQ(ChooseLevel(levels, 500, 375), 1u);
    EXPECT_EQ(ChooseLevel(levels, 400, 300), 2u);
    EXPECT_EQ(ChooseLevel(levels, 2, 1), levels.size() - 2);
    EXPECT_EQ(ChooseLevel(levels, 1, 1), levels.size() - 1);
    // Both sides must fit: a target wider than the level's proportions takes the larger one.
    EXPECT_EQ(ChooseLevel(levels, 400, 301), 1u);
}

TEST(PictureLevels, TransparencyShowsTheWhiteSurface) {
    BgraImage image(4, 1);
    image.At(0, 0) = Bgra(0, 0, 0, 0);       // fully transparent
    image.At(1, 0) = Bgra(10, 20, 30, 255);  // opaque
    image.At(2, 0) = Bgra(0, 0, 128, 128);   // half-covered red, premultiplied
    image.At(3, 0) = Bgra(200, 0, 0, 100);   // inconsistent input: clamped, not wrapped
    FlattenOnWhite(image);
    EXPECT_EQ(image.At(0, 0), Bgra(255, 255, 255));
    EXPECT_EQ(image.At(1, 0), Bgra(10, 20, 30));
    EXPECT_EQ(image.At(2, 0), Bgra(127, 127, 255));
    EXPECT_EQ(image.At(3, 0), Bgra(255, 155, 155));
}

}  // namespace
}  // namespace zz
