#include "view/image_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zz {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::initializer_list<std::uint32_t> values, int size, bool big) {
    for (const std::uint32_t v : values) {
        for (int i = 0; i < size; ++i) {
            b.push_back(std::uint8_t(v >> 8 * (big ? size - 1 - i : i)));
        }
    }
}

// An EXIF block whose first directory holds a width entry, then the orientation.
Bytes Exif(std::uint32_t orientation, bool big, std::uint32_t type = 3) {
    const std::uint8_t order = big ? 'M' : 'I';
    Bytes b = {'E', 'x', 'i', 'f', 0, 0, order, order};
    Put(b, {42}, 2, big);
    Put(b, {8}, 4, big);
    Put(b, {2, 0x100, 3}, 2, big);
    Put(b, {1, 640}, 4, big);
    Put(b, {0x112, type}, 2, big);
    Put(b, {1}, 4, big);
    Put(b, {orientation}, type == 3 ? 2 : 4, big);
    Put(b, {0}, type == 3 ? 2 : 0, big);  // a short's padding
    Put(b, {0}, 4, big);
    return b;
}

Bytes Jpeg(const std::vector<std::pair<std::uint8_t, Bytes>>& segments) {
    Bytes file = {0xFF, 0xD8};
    for (const auto& [marker, body] : segments) {
        file.insert(file.end(), {0xFF, marker});
        Put(file, {std::uint32_t(body.size() + 2)}, 2, true);
        file.insert(file.end(), body.begin(), body.end());
    }
    file.insert(file.end(), {0xFF, 0xDA, 0x00, 0x02, 0x12, 0x34, 0xFF, 0xD9});
    return file;
}

Bytes Changed(Bytes b, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), b.begin() + std::ptrdiff_t(at));
    return b;
}

const Bytes kJfif = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
const Bytes kFrame = {8, 0, 48, 0, 64, 3};  // 64 x 48

TEST(JpegOrientation, ReadFromWellFormedBlocksOnly) {
    const Bytes xmp = {'h', 't', 't', 'p', ':', '/', '/', 0};
    for (bool big : {false, true}) {
        for (std::uint32_t o = 1; o <= 8; ++o) {
            EXPECT_EQ(JpegOrientation(Jpeg({{0xE0, kJfif}, {0xE1, xmp}, {0xE1, Exif(o, big)}})),
                      int(o));
        }
    }
    const Bytes little6 = Exif(6, false);
    Bytes padded = Jpeg({{0xE1, Exif(3, false)}});
    // A fill byte, and lone markers from both ends of the restart markers' range.
    padded.insert(padded.begin() + 2, {0xFF, 0xFF, 0xD0, 0xFF, 0xD7});
    const std::vector<std::pair<Bytes, int>> cases = {
        {Jpeg({{0xE1, Exif(6, true, 4)}}), 6},  // as a long
        // An empty segment, and one longer than a byte can count, before the block.
        {Jpeg({{0xE2, {}}, {0xE1, Bytes(300, 'x')}, {0xE1, Exif(5, false)}}), 5},
        {padded, 3},
        {Jpeg({{0xE1, Exif(6, true, 2)}}), 0},  // ASCII type
        {Changed(Jpeg({{0xE1, little6}}), 12, {'I', 'M'}), 0},
        {Changed(Jpeg({{0xE1, little6}}), 16, {0xFF, 0xFF, 0xFF, 0xFF}), 0},  // directory
        {Changed(Jpeg({{0xE1, little6}}), 20, {0xFF, 0xFF}), 6},              // too many entries
        {Changed(Jpeg({{0xE1, little6}}), 38, {0, 0, 0, 0}), 0},              // value count 0
        {Bytes{0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01, 'E', 'x'}, 0},  // length below its own
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(JpegOrientation(cases[i].first), cases[i].second) << i;
    }
}

Bytes ReadFixture(const std::string& name) {
    std::ifstream file(std::string(ZZ_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Bytes Bmp(std::uint32_t header, std::uint32_t width, std::uint32_t height) {
    Bytes bmp = {'B', 'M'};
    bmp.resize(14);
    Put(bmp, {header}, 4, false);
    Put(bmp, {width, height}, header == 12 ? 2 : 4, false);
    bmp.resize(26);
    return bmp;
}

TEST(ClaimedSize, ReadFromTheHeaderOfEachFormat) {
    using Size = std::optional<ClaimedSize>;
    struct File {
        const char* name;
        std::uint32_t width, height;
    };
    for (const File& f :
         {File{"picture.png", 64, 48}, File{"picture.gif", 64, 48}, File{"picture.bmp", 64, 48},
          File{"rotated6.jpg", 48, 64}, File{"huge_header.png", 100000, 100000}}) {
        EXPECT_EQ(ReadClaimedSize(ReadFixture(f.name)), (ClaimedSize{f.width, f.height}));
    }
    EXPECT_EQ(ReadClaimedSize(ReadFixture("not_a_picture.png")), std::nullopt);
    const Bytes png = ReadFixture("picture.png");
    const Bytes gif = ReadFixture("picture.gif");
    const std::vector<std::pair<Bytes, Size>> cases = {
        // The frame header after the metadata, whichever coding (C2: progressive), not the
        // tables that share its marker range (C4).
        {Jpeg({{0xE1, Exif(6, false)}, {0xC4, {0, 1, 2, 3, 4, 5}}, {0xC2, {8, 1, 44, 0, 200, 3}}}),
         ClaimedSize{200, 300}},
        {Bmp(40, 100, std::uint32_t(-50)), ClaimedSize{100, 50}},  // stored top-down
        {Bmp(40, std::uint32_t(-100), 50), ClaimedSize{0, 0}},     // no picture
        {Bmp(12, 300, 200), ClaimedSize{300, 200}},                // the old core header
        {Bytes(png.begin(), png.begin() + 23), std::nullopt},
        {Bytes(gif.begin(), gif.begin() + 9), std::nullopt},
        {Bytes(gif.begin(), gif.begin() + 10), ClaimedSize{64, 48}}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(ReadClaimedSize(cases[i].first), cases[i].second) << i;
    }
}

bool CompleteFile(const Bytes& file, std::size_t cut = 0) {
    const std::size_t size = file.size() - cut;
    const std::size_t tail = std::min(size, kPictureTailBytes);
    return LooksComplete({file.data(), size}, {file.data() + size - tail, tail}, size);
}

TEST(Completeness, CutFilesAreRefusedAndOthersLeftToTheirDecoders) {
    const Bytes png = ReadFixture("picture.png");
    const Bytes jpeg = Jpeg({{0xE0, kJfif}, {0xC0, kFrame}});
    for (std::size_t cut = 1; cut + 8 <= png.size(); ++cut) {
        EXPECT_FALSE(CompleteFile(png, cut)) << cut;
    }
    for (std::size_t cut = 8; cut + 2 <= jpeg.size(); ++cut) {
        EXPECT_FALSE(CompleteFile(jpeg, cut)) << cut;
        // Only the first bytes at hand: a head shorter than the file cannot tell.
        EXPECT_TRUE(LooksComplete({jpeg.data(), jpeg.size() - cut}, {}, jpeg.size())) << cut;
    }
    const std::span<const std::uint8_t> end(png.data() + png.size() - 12, 12);
    EXPECT_TRUE(LooksComplete({png.data(), 40}, end, png.size()));
    Bytes noData(png.begin(), png.begin() + 33);  // signature and header chunk
    noData.insert(noData.end(), end.begin(), end.end());
    for (const Bytes& file : {png, jpeg, ReadFixture("picture.jpg"), ReadFixture("picture.gif")}) {
        EXPECT_TRUE(CompleteFile(file));
    }
    for (const Bytes& file : {ReadFixture("truncated.png"), noData, Changed(png, 33, {0x7F}),
                              Jpeg({{0xE0, kJfif}}),  // 2 GB chunk; scan without frame
                              Changed(jpeg, jpeg.size() - 8, {0x00})}) {  // scan marker lost
        EXPECT_FALSE(CompleteFile(file));
    }
}

TEST(PictureSize, AbsurdSizesAreRefusedAndKeptSizesRounded) {
    // A 108-megapixel phone photo and a panorama pass.
    EXPECT_TRUE(IsAcceptablePictureSize(1, 1) && IsAcceptablePictureSize(12000, 9000) &&
                IsAcceptablePictureSize(32768, 3000));
    EXPECT_FALSE(IsAcceptablePictureSize(10, 0) || IsAcceptablePictureSize(0, 10) ||
                 IsAcceptablePictureSize(1, 32769) || IsAcceptablePictureSize(32769, 1) ||
                 IsAcceptablePictureSize(11000, 11000));
    // Width, height, bound (0: none; exact: its own size), and the size kept.
    const int cases[][7] = {
        {4000, 3000, 1920, 1080, 0, 1440, 1080}, {4000, 3000, 1920, 0, 0, 1920, 1440},
        {1, 30000, 100, 100, 0, 1, 100},         {1000, 999, 100, 0, 0, 100, 100},
        {999, 1000, 0, 100, 0, 100, 100},        {1000, 751, 1000, 750, 1, 1000, 750},
        {1000, 751, 1001, 751, 1, 1000, 751},    {0, -5, 0, 0, 0, 1, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(KeptSizeFor(c[0], c[1], {c[2], c[3], c[4] == 1}), (PixelSize{c[5], c[6]}))
            << c[0] << "x" << c[1];
    }
}

TEST(Orient, TurnsEachOrientationUpright) {
    // 3 x 2, each pixel its own number: 0 1 2 / 3 4 5.
    BgraImage numbered(3, 2);
    for (std::uint32_t i = 0; i < 6; ++i) {
        numbered.pixels[i] = i;
    }
    // 6: the camera was turned clockwise, so the picture turns clockwise.
    const std::vector<std::pair<int, std::vector<std::uint32_t>>> cases = {
        {1, {0, 1, 2, 3, 4, 5}}, {2, {2, 1, 0, 5, 4, 3}}, {3, {5, 4, 3, 2, 1, 0}},
        {4, {3, 4, 5, 0, 1, 2}}, {5, {0, 3, 1, 4, 2, 5}}, {6, {3, 0, 4, 1, 5, 2}},
        {7, {5, 2, 4, 1, 3, 0}}, {8, {2, 5, 1, 4, 0, 3}}, {9, {0, 1, 2, 3, 4, 5}}};
    for (const auto& [orientation, expected] : cases) {
        const BgraImage upright = Orient(numbered, orientation);
        EXPECT_EQ(upright.pixels, expected) << orientation;
        EXPECT_EQ(upright.width, SwapsAxes(orientation) ? 2 : 3) << orientation;
    }
}

}  // namespace
}  // namespace zz
