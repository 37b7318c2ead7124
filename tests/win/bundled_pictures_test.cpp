// The pictures that ship with the program, decoded as the program decodes them.

#include <gtest/gtest.h>
#include <objbase.h>

#include <climits>
#include <filesystem>
#include <vector>

#include "framework/unicode.h"
#include "settings/app_settings.h"
#include "view/play_surface.h"
#include "view/win32/wic_decode.h"

namespace zz {
namespace {

struct OnePicture : IPictureSizes, IRandomSource {
    int width = 0;
    int height = 0;
    bool GetPictureSize(int slot, int& w, int& h) const override {
        return w = width, h = height, slot == 0;
    }
    int Next() override { return 0; }
};

// How wide the play surface draws a picture once it has stopped growing, last step past the
// maximum included. Guard mode's full screen is the widest client a full-HD screen gives.
int GrownWidth(const Settings& settings, int width, int height) {
    const Rect screen{0, 0, 1920, 1080};
    OnePicture picture;
    picture.width = width;
    picture.height = height;
    PlaySurface surface(picture, picture);
    surface.ApplySettings(settings, screen);
    surface.SetPictures(1, {});
    surface.ShowNextPicture();
    for (int tick = 0; tick < 1000 && surface.IsAnimating(); ++tick) {
        surface.OnTimer(screen);
    }
    Rect drawn;
    return !surface.IsAnimating() && surface.PictureRect(drawn) ? drawn.Width() : INT_MAX;
}

int DistinctColours(const BgraImage& image) {
    std::vector<bool> seen(1 << 24);
    int count = 0;
    for (const std::uint32_t pixel : image.pixels) {
        count += seen[pixel & 0xFFFFFF] ? 0 : 1;
        seen[pixel & 0xFFFFFF] = true;
    }
    return count;
}

TEST(BundledPictures, AreNeverEnlargedOnAFullHdScreenAndInFullColour) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const Settings settings = CAppSettings(ZZ_MEDIA_DIR).Load();  // the shipped settings file
    int pictures = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(Widen(ZZ_MEDIA_DIR "/images"))) {
        if (entry.is_regular_file()) {
            const std::string name = Narrow(entry.path().wstring());
            DecodedPicture decoded;
            ASSERT_TRUE(DecodePictureFile(entry.path().wstring(), {}, decoded)) << name;
            EXPECT_LE(GrownWidth(settings, decoded.width, decoded.height), decoded.width) << name;
            EXPECT_GT(DistinctColours(decoded.image), 256) << name;
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 36);
    CoUninitialize();
}

}  // namespace
}  // namespace zz
