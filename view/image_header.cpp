#include "view/image_header.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string_view>
#include <utility>

namespace zz {

bool IsAcceptablePictureSize(std::uint32_t width, std::uint32_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           std::uint64_t(width) * height <= kMaxPicturePixels;
}

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;

// Bounds-checked reads from a TIFF block in either byte order; out-of-range reads give 0.
class TiffReader {
public:
    TiffReader(std::span<const std::uint8_t> bytes, bool bigEndian)
        : m_bytes(bytes), m_bigEndian(bigEndian) {}

    bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_bytes.size() && length <= m_bytes.size() - offset;
    }
    std::uint32_t U16(std::uint64_t offset) const { return Read(offset, 2); }
    std::uint32_t U32(std::uint64_t offset) const { return Read(offset, 4); }

private:
    std::uint32_t Read(std::uint64_t offset, int length) const {
        if (!Has(offset, length)) {
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < length; ++i) {
            const int index = m_bigEndian ? i : length - 1 - i;
            value = (value << 8) | m_bytes[std::size_t(offset) + index];
        }
        return value;
    }

    std::span<const std::uint8_t> m_bytes;
    bool m_bigEndian;
};

// The orientation entry of the first image directory of an EXIF TIFF block.
int TiffOrientation(std::span<const std::uint8_t> tiff) {
    if (tiff.size() < 8 || tiff[0] != tiff[1] || (tiff[0] != 'I' && tiff[0] != 'M')) {
        return 0;
    }
    const TiffReader reader(tiff, tiff[0] == 'M');
    if (reader.U16(2) != 42) {
        return 0;
    }
    const std::uint64_t directory = reader.U32(4);
    const std::uint32_t entries = reader.U16(directory);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + 12ull * i;
        if (!reader.Has(entry, 12)) {
            return 0;
        }
        if (reader.U16(entry) != kOrientationTag || reader.U32(entry + 4) < 1) {
            continue;
        }
        const std::uint32_t type = reader.U16(entry + 2);
        const std::uint32_t value = type == kTypeShort  ? reader.U16(entry + 8)
                                    : type == kTypeLong ? reader.U32(entry + 8)
                                                        : 0;
        return value >= 1 && value <= 8 ? int(value) : 0;
    }
    return 0;
}

bool IsExifBlock(std::span<const std::uint8_t> segment) {
    static constexpr std::uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
    return segment.size() >= sizeof kExif &&
           std::equal(kExif, kExif + sizeof kExif, segment.begin());
}

// Markers that stand alone, without a length: start of image, TEM and the restart markers.
bool IsStandalone(std::uint8_t marker) {
    return marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Calls visit(marker, body) for each segment of a JPEG file before its scan, until visit
// returns true; a body cut off by the end of bytes is handed on as far as it goes. True when
// the walk came to the start of the scan.
template <typename Visit>
bool ForEachJpegSegment(std::span<const std::uint8_t> bytes, Visit visit) {
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
        return false;
    }
    std::size_t pos = 2;
    while (pos + 2 <= bytes.size()) {
        if (bytes[pos] != 0xFF) {
            return false;
        }
        const std::uint8_t marker = bytes[pos + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            ++pos;
            continue;
        }
        pos += 2;
        if (IsStandalone(marker)) {
            continue;
        }
        // Metadata and frame headers all come before the scan; past it is only image data.
        if (marker == 0xDA) {
            return true;
        }
        if (marker == 0xD9 || pos + 2 > bytes.size()) {
            return false;
        }
        const std::size_t length = std::size_t(bytes[pos]) << 8 | bytes[pos + 1];
        if (length < 2) {
            return false;
        }
        const std::size_t end = std::min(pos + length, bytes.size());
        if (visit(marker, bytes.subspan(pos + 2, end - (pos + 2)))) {
            return false;
        }
        pos += length;
    }
    return false;
}

// Start-of-frame markers: C0 to CF but for DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::uint32_t Little16(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | std::uint32_t(b[at + 1]) << 8;
}

std::uint32_t Little32(std::span<const std::uint8_t> b, std::size_t at) {
    return Little16(b, at) | Little16(b, at + 2) << 16;
}

std::uint32_t Big32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 |
           std::uint32_t(b[at + 2]) << 8 | b[at + 3];
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                      [](char a, std::uint8_t b) { return std::uint8_t(a) == b; });
}

std::optional<ClaimedSize> JpegSize(std::span<const std::uint8_t> bytes) {
    std::optional<ClaimedSize> size;
    ForEachJpegSegment(bytes, [&](std::uint8_t marker, std::span<const std::uint8_t> body) {
        if (!IsFrameHeader(marker)) {
            return false;
        }
        if (body.size() >= 5) {  // precision, then height and width, big-endian
            size = ClaimedSize{std::uint32_t(body[3]) << 8 | body[4],
                               std::uint32_t(body[1]) << 8 | body[2]};
        }
        return true;
    });
    return size;
}

std::optional<ClaimedSize> BmpSize(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 26) {
        return std::nullopt;
    }
    if (Little32(bytes, 14) == 12) {  // the old core header: 16-bit sizes
        return ClaimedSize{Little16(bytes, 18), Little16(bytes, 20)};
    }
    // Signed: a negative height stores rows top-down; a negative width is no picture.
    const auto width = std::int32_t(Little32(bytes, 18));
    const auto height = std::int32_t(Little32(bytes, 22));
    if (width < 0 || height == INT32_MIN) {
        return ClaimedSize{0, 0};
    }
    return ClaimedSize{std::uint32_t(width), std::uint32_t(height < 0 ? -height : height)};
}

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";
constexpr std::uint8_t kPngEnd[kPictureTailBytes] = {0,   0,   0,    0,    'I',  'E',
                                                     'N', 'D', 0xAE, 0x42, 0x60, 0x82};

bool EndsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> suffix) {
    return bytes.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), bytes.end() - std::ptrdiff_t(suffix.size()));
}

// The file must end with the end chunk, and each chunk that starts in head must end inside the
// file, with picture data before the end chunk.
bool PngLooksComplete(std::span<const std::uint8_t> head, std::span<const std::uint8_t> tail,
                      std::uint64_t fileSize) {
    if (!EndsWith(tail, kPngEnd)) {
        return false;
    }
    bool data = false;
    std::uint64_t pos = kPngSignature.size();
    while (pos + 8 <= head.size()) {
        const std::uint64_t end = pos + 12 + Big32(head, std::size_t(pos));
        if (end > fileSize) {
            return false;
        }
        const auto type = head.subspan(std::size_t(pos) + 4);
        data = data || StartsWith(type, "IDAT");
        if (StartsWith(type, "IEND")) {
            return data;
        }
        pos = end;
    }
    return head.size() < fileSize;  // the rest lies past the head
}

// The frame header and the start of the scan must come before the file ends.
bool JpegLooksComplete(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
    bool frame = false;
    const bool scan = ForEachJpegSegment(head, [&](std::uint8_t marker, auto) {
        frame = frame || IsFrameHeader(marker);
        return false;
    });
    if (scan) {
        return frame;
    }
    return head.size() < fileSize;  // the walk may have stopped at the head's end
}

}  // namespace

bool LooksComplete(std::span<const std::uint8_t> head, std::span<const std::uint8_t> tail,
                   std::uint64_t fileSize) {
    if (StartsWith(head, kPngSignature)) {
        return PngLooksComplete(head, tail, fileSize);
    }
    if (head.size() >= 2 && head[0] == 0xFF && head[1] == 0xD8) {
        return JpegLooksComplete(head, fileSize);
    }
    return true;
}

int JpegOrientation(std::span<const std::uint8_t> bytes) {
    int orientation = 0;
    ForEachJpegSegment(bytes, [&](std::uint8_t marker, std::span<const std::uint8_t> body) {
        if (marker == 0xE1 && IsExifBlock(body)) {
            orientation = TiffOrientation(body.subspan(6));
        }
        return orientation != 0;
    });
    return orientation;
}

std::optional<ClaimedSize> ReadClaimedSize(std::span<const std::uint8_t> head) {
    if (StartsWith(head, kPngSignature)) {
        // The first chunk is the header: length, "IHDR", width, height.
        if (head.size() < 24 || !StartsWith(head.subspan(12), "IHDR")) {
            return std::nullopt;
        }
        return ClaimedSize{Big32(head, 16), Big32(head, 20)};
    }
    if (StartsWith(head, "GIF87a") || StartsWith(head, "GIF89a")) {
        if (head.size() < 10) {
            return std::nullopt;
        }
        return ClaimedSize{Little16(head, 6), Little16(head, 8)};
    }
    if (StartsWith(head, "BM")) {
        return BmpSize(head);
    }
    return JpegSize(head);
}

PixelSize KeptSize(int width, int height, int maxWidth, int maxHeight) {
    const std::int64_t w = std::max(width, 1);
    const std::int64_t h = std::max(height, 1);
    const std::int64_t mw = maxWidth > 0 ? maxWidth : w;
    const std::int64_t mh = maxHeight > 0 ? maxHeight : h;
    if (w <= mw && h <= mh) {
        return {int(w), int(h)};
    }
    // The tighter bound decides: mw / w against mh / h, compared without division.
    if (mw * h <= mh * w) {
        return {int(mw), int(std::max<std::int64_t>(1, (h * mw + w / 2) / w))};
    }
    return {int(std::max<std::int64_t>(1, (w * mh + h / 2) / h)), int(mh)};
}

PixelSize KeptSizeFor(int width, int height, const KeptBound& bound) {
    if (!bound.exact) {
        return KeptSize(width, height, bound.width, bound.height);
    }
    if (bound.width >= 1 && bound.height >= 1 && bound.width <= width && bound.height <= height) {
        return {bound.width, bound.height};
    }
    return KeptSize(width, height, 0, 0);
}

BgraImage Orient(BgraImage stored, int orientation) {
    if (orientation < 2 || orientation > 8 || stored.pixels.empty()) {
        return stored;
    }
    const std::ptrdiff_t w = stored.width;
    const std::ptrdiff_t h = stored.height;
    const std::ptrdiff_t last = (w - 1) + (h - 1) * w;
    // Where the upright picture's first pixel lies in the stored one, and the steps that one
    // upright pixel to the right and one down take there.
    struct Walk {
        std::ptrdiff_t origin, stepX, stepY;
    };
    const Walk walks[] = {
        {w - 1, -1, w},        // 2: mirrored left to right
        {last, -1, -w},        // 3: turned half round
        {(h - 1) * w, 1, -w},  // 4: mirrored top to bottom
        {0, w, 1},             // 5: mirrored along the main diagonal
        {(h - 1) * w, -w, 1},  // 6: stored a quarter turn anticlockwise
        {last, -w, -1},        // 7: mirrored along the other diagonal
        {w - 1, w, -1},        // 8: stored a quarter turn clockwise
    };
    const Walk& walk = walks[orientation - 2];
    BgraImage upright =
        SwapsAxes(orientation) ? BgraImage(int(h), int(w)) : BgraImage(int(w), int(h));
    for (int y = 0; y < upright.height; ++y) {
        const std::uint32_t* from = stored.pixels.data() + walk.origin + y * walk.stepY;
        std::uint32_t* to = upright.Row(y);
        for (int x = 0; x < upright.width; ++x) {
            to[x] = from[x * walk.stepX];
        }
    }
    return upright;
}

}  // namespace zz
