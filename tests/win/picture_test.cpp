#include "view/win32/picture.h"

#include <gtest/gtest.h>

#include <stop_token>
#include <string>

#include "framework/com_init.h"
#include "framework/handles.h"
#include "view/bgra_image.h"
#include "view/win32/stoppable_stream.h"
#include "view/win32/wic_decode.h"

namespace zz {
namespace {

// The test pictures' quarters, upright: red, green / blue, yellow.
constexpr std::uint32_t kQuarters[] = {Bgra(0, 0, 255), Bgra(0, 255, 0), Bgra(255, 0, 0),
                                       Bgra(0, 255, 255)};

std::wstring PicturePath(const std::string& name) {
    const std::string path = std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name;
    return std::wstring(path.begin(), path.end());  // the test data path is ASCII
}

void ExpectQuarters(const BgraImage& image) {
    for (int q = 0; q < 4; ++q) {
        const std::uint32_t pixel =
            image.At(image.width * (1 + q % 2 * 2) / 4, image.height * (1 + q / 2 * 2) / 4);
        for (int ch = 0; ch < 3; ++ch) {
            EXPECT_NEAR(Channel(pixel, ch), Channel(kQuarters[q], ch), 40) << q;  // JPEG moves them
        }
    }
}

DecodedPicture Decode(const char* name, const KeptBound& bound = {}) {
    DecodedPicture decoded;
    EXPECT_TRUE(DecodePictureFile(PicturePath(name), bound, decoded)) << name;
    return decoded;
}

class PictureTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_com.Started()); }
    ComInitialization m_com{ComInitialization::Kind::kApartment};
};

// Also a photo stored 48 x 64 with EXIF orientation 6 (turned a quarter), whole or reduced. The
// kept sizes and the reduction's averages are the unit tests'.
TEST_F(PictureTest, EveryFormatDecodesUpright) {
    for (const char* name : {"picture.png", "picture.jpg", "picture.bmp", "picture32.bmp",
                             "picture.gif", "rotated6.jpg"}) {
        const DecodedPicture decoded = Decode(name, {32, 32, false});
        EXPECT_TRUE(decoded.width == 64 && decoded.height == 48) << name;
        EXPECT_TRUE(decoded.image.width == 32 && decoded.image.height == 24) << name;
        ExpectQuarters(decoded.image);
    }
    ExpectQuarters(Decode("rotated6.jpg").image);
}

// A stop reaches the codec through the file's reads: a decode after it gives nothing, and a
// read after it reads nothing. The file is closed with its owner, whoever holds the stream.
TEST_F(PictureTest, AStopEndsTheDecodingAtTheNextReadOfTheFile) {
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(CPicture::Load(PicturePath("picture.jpg"), 0, 0, stopped.get_token()));
    EXPECT_FALSE(CPicture::LoadAt(PicturePath("large.png"), 320, 240, stopped.get_token()));

    Microsoft::WRL::ComPtr<IWICImagingFactory> factory;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_PPV_ARGS(&factory))));
    std::stop_source stop;
    Microsoft::WRL::ComPtr<IStream> kept;  // as a codec keeps it
    {
        const StoppablePictureFile file(*factory.Get(), PicturePath("picture.jpg"),
                                        stop.get_token());
        ASSERT_NE(file.Stream(), nullptr);
        unsigned char bytes[2] = {};
        ULONG read = 0;
        // 0xFF: a JPEG file's first marker.
        EXPECT_TRUE(file.Stream()->Read(bytes, 2, &read) == S_OK && read == 2 && bytes[0] == 0xFF);
        stop.request_stop();
        EXPECT_TRUE(file.Stream()->Read(bytes, 2, &read) == E_ABORT && read == 0);
        kept = file.Stream();
    }
    // Closed although the stream lives on: only then can the file be opened for oneself.
    const KernelHandle alone(CreateFileW(PicturePath("picture.jpg").c_str(), GENERIC_READ, 0,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(alone);
}

}  // namespace
}  // namespace zz
