#pragma once
// What a picture file tells before it is decoded: whether its size is sane, and how a photo
// must be turned to stand upright (the EXIF orientation that cameras write).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "view/bgra_image.h"

namespace zz {

// Beyond these a file is refused before anything is allocated for it: a header can claim any
// size. The pixel bound still admits the largest phone photos (108 megapixels).
inline constexpr std::uint32_t kMaxPictureSide = 32768;
inline constexpr std::uint64_t kMaxPicturePixels = 120'000'000;

bool IsAcceptablePictureSize(std::uint32_t width, std::uint32_t height);

// The size of the first picture in a file, as its header claims it.
struct ClaimedSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const ClaimedSize&) const = default;
};

// The size that the first bytes of a PNG, JPEG, GIF or BMP file claim, read before any decoder
// sees the file (some allocate for the claimed size at once); nullopt for other files and
// for bytes too short to tell. Never reads outside head.
std::optional<ClaimedSize> ReadClaimedSize(std::span<const std::uint8_t> head);

// Room for the end of a PNG file (its IEND chunk) in the tail handed to LooksComplete.
inline constexpr std::size_t kPictureTailBytes = 12;

// Whether a file of fileSize bytes, whose first bytes are head and whose last bytes are tail,
// holds what its format needs before the picture data and, for PNG, its end: some decoders
// read past the end of a cut file. Files of other formats pass. Never reads outside the bytes.
bool LooksComplete(std::span<const std::uint8_t> head, std::span<const std::uint8_t> tail,
                   std::uint64_t fileSize);

// The EXIF orientation in the first bytes of a JPEG file: 1..8, or 0 when they hold none.
// Never reads outside bytes, whatever they contain.
int JpegOrientation(std::span<const std::uint8_t> bytes);

// Orientations 5 to 8 turn the picture by a quarter: width and height trade places.
constexpr bool SwapsAxes(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// The size to keep a width x height picture at: shrunk with its proportions to fit
// maxWidth x maxHeight (0 leaves a side unbounded), never enlarged, at least 1 x 1.
PixelSize KeptSize(int width, int height, int maxWidth, int maxHeight);

// The size of a kept copy: shrunk with its proportions to fit width x height (0 leaves a side
// unbounded), or, exact, shrunk to width x height itself; never enlarged: a picture smaller
// than an exact size on either side is kept whole.
struct KeptBound {
    int width = 0;
    int height = 0;
    bool exact = false;
};
PixelSize KeptSizeFor(int width, int height, const KeptBound& bound);

// The stored picture turned upright by its EXIF orientation; other values leave it as it is.
BgraImage Orient(BgraImage stored, int orientation);

}  // namespace zz
