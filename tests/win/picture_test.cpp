#include "view/win32/picture.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <stop_token>
#include <string>

#include "framework/handles.h"
#include "framework/unicode.h"
#include "settings/app_settings.h"
#include "view/bgra_image.h"
#include "view/play_surface.h"
#include "view/win32/stoppable_stream.h"
#include "view/win32/wic_decode.h"

namespace zz {
namespace {

constexpr std::uint32_t kRed = Bgra(0, 0, 255);
constexpr std::uint32_t kGreen = Bgra(0, 255, 0);
constexpr std::uint32_t kBlue = Bgra(255, 0, 0);
constexpr std::uint32_t kYellow = Bgra(0, 255, 255);
constexpr std::uint32_t kUntouched = Bgra(255, 0, 255, 0);  // what no picture contains

std::wstring PicturePath(const std::string& name) {
    const std::string path = std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name;
    return std::wstring(path.begin(), path.end());  // the test data path is ASCII
}

// A 32-bit memory device context whose pixels the test reads back.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                        {}};  // top-down
        void* bits = nullptr;
        m_bitmap = Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<std::uint32_t*>(bits);
        m_previous = SelectObject(m_dc.Get(), m_bitmap.Get());
        std::fill(m_bits, m_bits + std::size_t(width) * height, kUntouched);
    }
    ~Canvas() { SelectObject(m_dc.Get(), m_previous); }

    HDC Dc() const { return m_dc.Get(); }
    std::uint32_t At(int x, int y) const {
        GdiFlush();
        return m_bits[std::size_t(y) * m_width + x];
    }

private:
    int m_width;
    MemoryDC m_dc;
    Bitmap m_bitmap;
    std::uint32_t* m_bits = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// The four quarters of the test picture drawn upright into x, y, width, height; JPEG moves
// colours a little.
void ExpectQuarters(const Canvas& canvas, int x, int y, int width, int height, int tolerance) {
    const std::uint32_t quarters[] = {kRed, kGreen, kBlue, kYellow};
    for (int q = 0; q < 4; ++q) {
        const std::uint32_t pixel =
            canvas.At(x + width * (1 + q % 2 * 2) / 4, y + height * (1 + q / 2 * 2) / 4);
        for (int ch = 0; ch < 3; ++ch) {
            EXPECT_NEAR(Channel(pixel, ch), Channel(quarters[q], ch), tolerance) << q;
        }
    }
}

class PictureTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(PictureTest, EveryFormatLoadsAndDrawsExactlyItsRectangle) {
    for (const char* name : {"picture.png", "picture.jpg", "picture.jpeg", "picture.jpe",
                             "picture.jfif", "picture.bmp", "picture32.bmp", "picture.gif"}) {
        SCOPED_TRACE(name);
        const CPicture picture = CPicture::Load(PicturePath(name));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture.Width(), 64);
        EXPECT_EQ(picture.Height(), 48);
        Canvas canvas(700, 500);
        picture.Draw(canvas.Dc(), 10, 5, 64, 48);
        ExpectQuarters(canvas, 10, 5, 64, 48, 40);
        EXPECT_TRUE(canvas.At(9, 5) == kUntouched && canvas.At(10, 4) == kUntouched);
        EXPECT_EQ(canvas.At(74, 52), kUntouched);
        picture.Draw(canvas.Dc(), 0, 60, 640, 430);  // enlarged, proportions not kept
        ExpectQuarters(canvas, 0, 60, 640, 430, 40);
    }
}

TEST_F(PictureTest, ExifTurnedPhotoStandsUprightAlsoWhenKeptReduced) {
    // Stored 48 x 64 and turned a quarter anticlockwise, with orientation 6.
    for (const int bound : {0, 32}) {
        const CPicture photo = CPicture::Load(PicturePath("rotated6.jpg"), bound, bound);
        ASSERT_TRUE(photo);
        EXPECT_EQ(photo.Width(), 64);
        EXPECT_EQ(photo.Height(), 48);
        Canvas canvas(200, 100);
        photo.Draw(canvas.Dc(), 0, 0, 200, 100);
        ExpectQuarters(canvas, 0, 0, 200, 100, 40);
    }
}

TEST_F(PictureTest, LargePictureIsKeptReducedYetDrawnSharp) {
    // Kept at the size it is drawn at, exactly, though a pixel off its proportions; never
    // enlarged.
    struct Case {
        int width, height, keptWidth, keptHeight;
    };
    for (const Case& c : {Case{1000, 751, 1000, 751}, Case{1600, 1201, 1600, 1200}}) {
        const CPicture exact = CPicture::LoadAt(PicturePath("large.png"), c.width, c.height);
        EXPECT_EQ(exact.KeptWidth(), c.keptWidth);
        EXPECT_EQ(exact.KeptHeight(), c.keptHeight);
        EXPECT_EQ(exact.Width(), 1600);
    }
    const CPicture kept = CPicture::Load(PicturePath("large.png"), 320, 1000);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept.Width(), 1600);
    EXPECT_EQ(kept.Height(), 1200);
    EXPECT_LE(kept.MemoryBytes(), 320u * 240 * 4 * 4 / 3 + 64);
    EXPECT_GE(kept.MemoryBytes(), 320u * 240 * 4);  // 320 x 240 and its halvings
    Canvas canvas(320, 240);
    kept.Draw(canvas.Dc(), 0, 0, 320, 240);
    ExpectQuarters(canvas, 0, 0, 320, 240, 0);
    // The edge between quarters stays a sharp step at the size kept.
    EXPECT_EQ(canvas.At(159, 60) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(canvas.At(160, 60) & 0xFFFFFF, kGreen & 0xFFFFFF);
}

// A stop reaches the codec through the file's reads: a decode after it gives nothing, and a
// read after it reads nothing.
TEST_F(PictureTest, AStopEndsTheDecodingAtTheNextReadOfTheFile) {
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(CPicture::Load(PicturePath("picture.jpg"), 0, 0, stopped.get_token()));
    EXPECT_FALSE(CPicture::LoadAt(PicturePath("large.png"), 320, 240, stopped.get_token()));

    Microsoft::WRL::ComPtr<IWICImagingFactory> factory;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_PPV_ARGS(&factory))));
    std::stop_source stop;
    const auto stream =
        OpenStoppableStream(*factory.Get(), PicturePath("picture.jpg"), stop.get_token());
    ASSERT_TRUE(stream);
    unsigned char bytes[2] = {};
    ULONG read = 0;
    EXPECT_EQ(stream->Read(bytes, 2, &read), S_OK);
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(bytes[0], 0xFF);  // a JPEG file's first marker
    stop.request_stop();
    EXPECT_EQ(stream->Read(bytes, 2, &read), E_ABORT);
    EXPECT_EQ(read, 0u);
}

// The pictures that ship with the program, decoded as the program decodes them.
struct OnePicture : IPictureSizes, IRandomSource {
    OnePicture(int w, int h) : width(w), height(h) {}
    int width;
    int height;
    bool GetPictureSize(int slot, int& w, int& h) const override {
        return w = width, h = height, slot == 0;
    }
    int Next() override { return 0; }
};

// How wide the play surface draws a picture once it has stopped growing, last step past the
// maximum included. Guard mode's full screen is the widest client a full-HD screen gives.
int GrownWidth(const CAppSettings& settings, int width, int height) {
    const Rect screen{0, 0, 1920, 1080};
    OnePicture picture(width, height);
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

TEST_F(PictureTest, BundledPicturesAreNeverEnlargedOnAFullHdScreenAndInFullColour) {
    CAppSettings settings(ZZ_MEDIA_DIR);  // the shipped settings file
    settings.Load();
    int pictures = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(Widen(ZZ_MEDIA_DIR "/images"))) {
        if (entry.is_regular_file()) {
            const std::string name = Narrow(entry.path().wstring());
            DecodedPicture decoded;
            ASSERT_TRUE(DecodePictureFile(entry.path().wstring(), {}, decoded)) << name;
            EXPECT_LE(GrownWidth(settings, decoded.width, decoded.height), decoded.width) << name;
            std::set<std::uint32_t> colours;
            for (const std::uint32_t pixel : decoded.image.pixels) {
                colours.insert(pixel & 0xFFFFFF);
            }
            EXPECT_GT(colours.size(), 256u) << name;
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 36);
}

}  // namespace
}  // namespace zz
