#include "view/win32/picture.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdlib>
#include <stop_token>
#include <string>

#include "framework/handles.h"
#include "view/bgra_image.h"
#include "view/win32/stoppable_stream.h"

namespace zz {
namespace {

constexpr std::uint32_t kRed = Bgra(0, 0, 255);
constexpr std::uint32_t kGreen = Bgra(0, 255, 0);
constexpr std::uint32_t kBlue = Bgra(255, 0, 0);
constexpr std::uint32_t kYellow = Bgra(0, 255, 255);
constexpr std::uint32_t kWhite = Bgra(255, 255, 255);
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

// Colour within tolerance per channel, alpha aside; JPEG moves colours a little.
testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int ch = 0; ch < 3; ++ch) {
        if (std::abs(Channel(actual, ch) - Channel(expected, ch)) > tolerance) {
            return testing::AssertionFailure() << std::hex << "colour 0x" << (actual & 0xFFFFFF)
                                               << ", expected 0x" << (expected & 0xFFFFFF);
        }
    }
    return testing::AssertionSuccess();
}

// The four quarters of the test picture drawn upright into x, y, width, height.
void ExpectQuarters(const Canvas& canvas, int x, int y, int width, int height, int tolerance) {
    const int left = x + width / 4;
    const int right = x + width * 3 / 4;
    const int top = y + height / 4;
    const int bottom = y + height * 3 / 4;
    EXPECT_TRUE(Near(canvas.At(left, top), kRed, tolerance)) << "top left";
    EXPECT_TRUE(Near(canvas.At(right, top), kGreen, tolerance)) << "top right";
    EXPECT_TRUE(Near(canvas.At(left, bottom), kBlue, tolerance)) << "bottom left";
    EXPECT_TRUE(Near(canvas.At(right, bottom), kYellow, tolerance)) << "bottom right";
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
        EXPECT_EQ(canvas.At(9, 5), kUntouched);
        EXPECT_EQ(canvas.At(10, 4), kUntouched);
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

TEST_F(PictureTest, TransparentPartsShowWhite) {
    Canvas canvas(32, 32);
    const CPicture transparent = CPicture::Load(PicturePath("transparent.png"));
    ASSERT_TRUE(transparent);
    transparent.Draw(canvas.Dc(), 0, 0, 32, 32);
    EXPECT_EQ(canvas.At(4, 16) & 0xFFFFFF, kWhite & 0xFFFFFF);
    EXPECT_EQ(canvas.At(28, 16) & 0xFFFFFF, kGreen & 0xFFFFFF);
}

class BrokenPictureTest : public PictureTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BrokenPictureTest, GivesAnEmptyPictureThatDrawsNothing) {
    Canvas canvas(16, 16);
    CPicture picture = CPicture::Load(PicturePath(GetParam()));
    EXPECT_FALSE(picture);
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.MemoryBytes(), 0u);
    picture.Draw(canvas.Dc(), 0, 0, 16, 16);
    EXPECT_EQ(canvas.At(8, 8), kUntouched);
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenPictureTest,
                         ::testing::Values("not_a_picture.png", "huge_header.png", "missing.png",
                                           ""));

// Wine's decoders write past their buffers on these files and the process dies: the picture
// module must refuse them first.
TEST_F(PictureTest, TruncatedPngGivesAnEmptyPicture) {
    EXPECT_FALSE(CPicture::Load(PicturePath("truncated.png")));
}

TEST_F(PictureTest, JpegClaimingAHugeSizeGivesAnEmptyPicture) {
    EXPECT_FALSE(CPicture::Load(PicturePath("huge_header.jpg")));
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
    // 320 x 240 and its halvings.
    EXPECT_LE(kept.MemoryBytes(), 320u * 240 * 4 * 4 / 3 + 64);
    EXPECT_GE(kept.MemoryBytes(), 320u * 240 * 4);
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

TEST_F(PictureTest, AClippedDrawDoesNotSpoilTheNextWholeOne) {
    const CPicture picture = CPicture::Load(PicturePath("picture.png"));
    ASSERT_TRUE(picture);
    // Clipped to a small box, as a paint of a small invalid area is.
    Canvas clipped(64, 48);
    IntersectClipRect(clipped.Dc(), 40, 30, 50, 40);
    picture.Draw(clipped.Dc(), 0, 0, 64, 48);
    EXPECT_TRUE(Near(clipped.At(45, 35), kYellow, 0));
    EXPECT_EQ(clipped.At(39, 35), kUntouched);
    // The same size again without the clip: the whole picture, not just the part held.
    SelectClipRgn(clipped.Dc(), nullptr);
    picture.Draw(clipped.Dc(), 0, 0, 64, 48);
    ExpectQuarters(clipped, 0, 0, 64, 48, 0);
}

TEST_F(PictureTest, AreaLargerThanOneCopyIsDrawnInBands) {
    const CPicture picture = CPicture::Load(PicturePath("large.png"), 1600, 1200);
    ASSERT_TRUE(picture);
    Canvas canvas(4400, 4000);  // more pixels than one scaled copy holds
    picture.Draw(canvas.Dc(), 0, 0, 4400, 4000);
    ExpectQuarters(canvas, 0, 0, 4400, 4000, 0);
    EXPECT_TRUE(Near(canvas.At(4399, 3999), kYellow, 0));
    EXPECT_TRUE(Near(canvas.At(0, 0), kRed, 0));
}

}  // namespace
}  // namespace zz
