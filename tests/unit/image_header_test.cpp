#include "view/image_header.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zz {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v, bool big) {
    b.push_back(std::uint8_t(big ? v >> 8 : v));
    b.push_back(std::uint8_t(big ? v : v >> 8));
}

void Put32(Bytes& b, std::uint32_t v, bool big) {
    Put16(b, big ? v >> 16 : v & 0xFFFF, big);
    Put16(b, big ? v & 0xFFFF : v >> 16, big);
}

void PutSegment(Bytes& file, std::uint8_t marker, const Bytes& body) {
    file.insert(file.end(), {0xFF, marker});
    Put16(file, unsigned(body.size() + 2), true);
    file.insert(file.end(), body.begin(), body.end());
}

// An EXIF block whose first directory holds a width entry, then orientation with type and
// value as given.
Bytes ExifBlock(std::uint32_t orientation, bool big, unsigned type = 3) {
    const std::uint8_t order = big ? 'M' : 'I';
    Bytes b = {'E', 'x', 'i', 'f', 0, 0, order, order};
    Put16(b, 42, big);
    Put32(b, 8, big);
    Put16(b, 2, big);  // entries
    Put16(b, 0x0100, big);
    Put16(b, 3, big);
    Put32(b, 1, big);
    Put32(b, 640u << (big ? 16 : 0), big);
    Put16(b, 0x0112, big);
    Put16(b, type, big);
    Put32(b, 1, big);
    if (type == 3) {
        Put16(b, orientation, big);
        Put16(b, 0, big);
    } else {
        Put32(b, orientation, big);
    }
    Put32(b, 0, big);  // no next directory
    return b;
}

Bytes Jpeg(const std::vector<std::pair<std::uint8_t, Bytes>>& segments) {
    Bytes file = {0xFF, 0xD8};
    for (const auto& [marker, body] : segments) {
        PutSegment(file, marker, body);
    }
    file.insert(file.end(), {0xFF, 0xDA, 0x00, 0x02, 0x12, 0x34, 0xFF, 0xD9});
    return file;
}

const Bytes kJfif = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};

TEST(JpegOrientation, ReadsEveryOrientationInBothByteOrders) {
    // After a JFIF segment and an XMP block, as cameras and editors write them.
    const Bytes xmp = {'h', 't', 't', 'p', ':', '/', '/', 0};
    for (bool big : {false, true}) {
        for (int o = 1; o <= 8; ++o) {
            EXPECT_EQ(
                JpegOrientation(Jpeg({{0xE0, kJfif}, {0xE1, xmp}, {0xE1, ExifBlock(o, big)}})), o);
        }
        EXPECT_EQ(JpegOrientation(Jpeg({{0xE1, ExifBlock(6, big, 4)}})), 6);  // as a long
    }
    // Fill bytes before a marker are allowed.
    Bytes padded = Jpeg({{0xE1, ExifBlock(3, false)}});
    padded.insert(padded.begin() + 2, {0xFF, 0xFF});
    EXPECT_EQ(JpegOrientation(padded), 3);
}

TEST(JpegOrientation, NoneWhenTheFileCarriesNoneOrItsStructureIsBroken) {
    EXPECT_EQ(JpegOrientation(Jpeg({{0xE0, kJfif}})), 0);
    EXPECT_EQ(JpegOrientation(Jpeg({{0xE1, ExifBlock(9, true)}})), 0);
    EXPECT_EQ(JpegOrientation(Jpeg({{0xE1, ExifBlock(6, true, 2)}})), 0);  // ASCII type
    // An EXIF block after the scan is image data, not metadata.
    Bytes late = Jpeg({});
    late.resize(late.size() - 2);
    PutSegment(late, 0xE1, ExifBlock(6, false));
    EXPECT_EQ(JpegOrientation(late), 0);
    auto exif = [](auto change) {
        Bytes block = ExifBlock(6, false);
        change(block);
        return JpegOrientation(Jpeg({{0xE1, block}}));
    };
    EXPECT_EQ(exif([](Bytes& b) { b[6] = 'I', b[7] = 'M'; }), 0);                // byte order
    EXPECT_EQ(exif([](Bytes& b) { b[10] = b[11] = b[12] = b[13] = 0xFF; }), 0);  // directory
    EXPECT_EQ(exif([](Bytes& b) { b[14] = b[15] = 0xFF; }), 6);  // too many entries: found first
    EXPECT_EQ(exif([](Bytes& b) { b[32] = b[33] = b[34] = b[35] = 0; }), 0);  // count 0
    EXPECT_EQ(exif([](Bytes& b) { b.resize(30); }), 0);                       // cut entry
    // Segment lengths below their own two bytes, or past the end of the file.
    EXPECT_EQ(JpegOrientation(Bytes{0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01, 'E', 'x'}), 0);
    Bytes longLength = Jpeg({{0xE1, ExifBlock(8, true)}});
    longLength[4] = longLength[5] = 0xFF;
    EXPECT_EQ(JpegOrientation(longLength), 8);  // the part present is still read
}

TEST(JpegHeader, AnyPrefixOrDamageIsReadSafely) {
    const Bytes whole =
        Jpeg({{0xE0, kJfif}, {0xE1, ExifBlock(6, true)}, {0xC0, {8, 0, 48, 0, 64, 3}}});
    for (std::size_t n = 0; n <= whole.size(); ++n) {
        const int o = JpegOrientation({whole.data(), n});
        EXPECT_TRUE(o == 0 || o == 6) << n;
        const std::optional<ClaimedSize> size = ReadClaimedSize({whole.data(), n});
        EXPECT_TRUE(!size || *size == (ClaimedSize{64, 48})) << n;
    }
    // Random damage; the sanitizer build catches any read outside the bytes.
    std::uint32_t state = 99;
    for (int round = 0; round < 20000; ++round) {
        Bytes damaged = whole;
        for (int hit = 0; hit < 1 + round % 4; ++hit) {
            state = state * 1103515245u + 12345u;
            damaged[(state >> 8) % damaged.size()] = std::uint8_t(state >> 24);
        }
        damaged.resize(damaged.size() - (state >> 4) % 8);
        const int o = JpegOrientation(damaged);
        ASSERT_TRUE(o >= 0 && o <= 8);
        (void)ReadClaimedSize(damaged);  // any answer will do; the reads are what is checked
    }
}

Bytes ReadFixture(const std::string& name) {
    std::ifstream file(std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(ClaimedSize, ReadFromTheHeaderOfEachFormat) {
    const std::vector<std::pair<const char*, ClaimedSize>> files = {
        {"picture.png", {64, 48}},
        {"picture.jpg", {64, 48}},
        {"picture.gif", {64, 48}},
        {"picture.bmp", {64, 48}},
        {"rotated6.jpg", {48, 64}},
        {"truncated.png", {64, 48}},
        {"huge_header.png", {100000, 100000}},
        {"huge_header.jpg", {60000, 60000}}};
    for (const auto& [name, size] : files) {
        const Bytes bytes = ReadFixture(name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(ReadClaimedSize(bytes), size) << name;
    }
    EXPECT_EQ(ReadClaimedSize(ReadFixture("not_a_picture.png")), std::nullopt);
    // The frame header found after the metadata, whichever coding it announces (C2:
    // progressive), but not the tables that share its marker range (C4).
    Bytes progressive = Jpeg({{0xE1, ExifBlock(6, false)},
                              {0xC4, {0, 1, 2, 3, 4, 5}},
                              {0xC2, {8, 0x01, 0x2C, 0x00, 0xC8, 3}}});
    EXPECT_EQ(ReadClaimedSize(progressive), (ClaimedSize{200, 300}));
    // A bitmap stored top-down has a negative height; a negative width is no picture.
    Bytes bmp = {'B', 'M'};
    bmp.resize(14);
    Put32(bmp, 40, false);
    Put32(bmp, 100, false);
    Put32(bmp, std::uint32_t(-50), false);
    EXPECT_EQ(ReadClaimedSize(bmp), (ClaimedSize{100, 50}));
    bmp[18] = bmp[19] = bmp[20] = bmp[21] = 0xFF;
    EXPECT_EQ(ReadClaimedSize(bmp), (ClaimedSize{0, 0}));
    // Too short to tell.
    const Bytes png = ReadFixture("picture.png");
    EXPECT_EQ(ReadClaimedSize({png.data(), 20}), std::nullopt);
    EXPECT_EQ(ReadClaimedSize({bmp.data(), 20}), std::nullopt);
}

bool CompleteFile(const Bytes& file) {
    const std::size_t tail = std::min(file.size(), kPictureTailBytes);
    return LooksComplete(file, {file.data() + file.size() - tail, tail}, file.size());
}

TEST(Completeness, CutPngFilesAreRefused) {
    const Bytes png = ReadFixture("picture.png");
    EXPECT_TRUE(CompleteFile(png));
    EXPECT_FALSE(CompleteFile(ReadFixture("truncated.png")));
    // Shorter than the signature it is no PNG file, and left to the decoders.
    for (std::size_t n = 8; n < png.size(); ++n) {
        EXPECT_FALSE(CompleteFile(Bytes(png.begin(), png.begin() + std::ptrdiff_t(n)))) << n;
    }
    // Only the first bytes at hand: the end chunk in the tail, the chunks seen so far inside
    // the file, and no end chunk before the picture data.
    const std::span<const std::uint8_t> end(png.data() + png.size() - 12, 12);
    EXPECT_TRUE(LooksComplete({png.data(), 40}, end, png.size()));
    Bytes noData(png.begin(), png.begin() + 33);  // signature and header chunk
    noData.insert(noData.end(), end.begin(), end.end());
    EXPECT_FALSE(CompleteFile(noData));
    Bytes longChunk = png;
    longChunk[33] = 0x7F;  // the first chunk after the header claims 2 GB
    EXPECT_FALSE(CompleteFile(longChunk));
}

TEST(Completeness, JpegNeedsItsFrameHeaderAndScan) {
    const Bytes jpeg = Jpeg({{0xE0, kJfif}, {0xC0, {8, 0, 48, 0, 64, 3}}});
    EXPECT_TRUE(CompleteFile(jpeg));
    EXPECT_TRUE(CompleteFile(ReadFixture("picture.jpg")));
    const std::size_t scan = jpeg.size() - 8;
    for (std::size_t n = 2; n < scan; ++n) {
        const Bytes cut(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(CompleteFile(cut)) << n;
        // A head shorter than the file cannot tell.
        EXPECT_TRUE(LooksComplete(cut, {}, jpeg.size())) << n;
    }
    EXPECT_FALSE(CompleteFile(Jpeg({{0xE0, kJfif}})));      // a scan without a frame
    EXPECT_TRUE(CompleteFile(ReadFixture("picture.gif")));  // left to its decoder
}

TEST(PictureSize, AbsurdHeadersAreRefused) {
    EXPECT_FALSE(IsAcceptablePictureSize(10, 0));
    EXPECT_TRUE(IsAcceptablePictureSize(12000, 9000));  // a 108-megapixel phone photo
    EXPECT_TRUE(IsAcceptablePictureSize(32768, 3000));  // a panorama
    EXPECT_FALSE(IsAcceptablePictureSize(1, 32769));
    EXPECT_FALSE(IsAcceptablePictureSize(11000, 11000));
    EXPECT_FALSE(IsAcceptablePictureSize(100000, 100000));
    EXPECT_FALSE(IsAcceptablePictureSize(0xFFFFFFFF, 0xFFFFFFFF));
}

TEST(PictureSize, KeptSizeFitsTheBoundsWithoutEnlarging) {
    EXPECT_EQ(KeptSize(4000, 3000, 1920, 1080), (PixelSize{1440, 1080}));
    EXPECT_EQ(KeptSize(4000, 3000, 1920, 0), (PixelSize{1920, 1440}));  // 0: no bound
    EXPECT_EQ(KeptSize(800, 600, 1920, 1080), (PixelSize{800, 600}));
    EXPECT_EQ(KeptSize(1, 30000, 100, 100), (PixelSize{1, 100}));  // never below one pixel
}

TEST(Orient, TurnsEachOrientationUpright) {
    // 3 x 2, each pixel its own number: 0 1 2 / 3 4 5.
    BgraImage numbered(3, 2);
    for (std::uint32_t i = 0; i < 6; ++i) {
        numbered.pixels[i] = i;
    }
    // The upright picture for each stored orientation, row by row, as the EXIF standard
    // defines them (6: the camera was turned clockwise, so the picture turns clockwise).
    const std::vector<std::pair<int, std::vector<std::uint32_t>>> cases = {
        {1, {0, 1, 2, 3, 4, 5}}, {2, {2, 1, 0, 5, 4, 3}}, {3, {5, 4, 3, 2, 1, 0}},
        {4, {3, 4, 5, 0, 1, 2}}, {5, {0, 3, 1, 4, 2, 5}}, {6, {3, 0, 4, 1, 5, 2}},
        {7, {5, 2, 4, 1, 3, 0}}, {8, {2, 5, 1, 4, 0, 3}}, {0, {0, 1, 2, 3, 4, 5}},
        {9, {0, 1, 2, 3, 4, 5}}};
    for (const auto& [orientation, expected] : cases) {
        const BgraImage upright = Orient(numbered, orientation);
        EXPECT_EQ(upright.pixels, expected) << orientation;
        EXPECT_EQ(upright.width, SwapsAxes(orientation) ? 2 : 3);
        EXPECT_EQ(upright.height, SwapsAxes(orientation) ? 3 : 2);
    }
    EXPECT_TRUE(Orient(BgraImage(), 6).pixels.empty());
}

}  // namespace
}  // namespace zz
