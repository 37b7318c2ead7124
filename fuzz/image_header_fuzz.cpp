// The picture header checks on any bytes: the EXIF orientation read from any file is one of
// the eight or none, the size a header claims does not change with more of the file, a kept
// size fits its bounds without enlarging, and turning a picture upright is undone by the
// opposite turn.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_check.h"
#include "view/image_header.h"

namespace {

void CheckKeptSize(int width, int height, int maxWidth, int maxHeight) {
    const zz::PixelSize kept = zz::KeptSize(width, height, maxWidth, maxHeight);
    ZZ_FUZZ_CHECK(kept.width >= 1 && kept.height >= 1);
    ZZ_FUZZ_CHECK(kept.width <= std::max(width, 1) && kept.height <= std::max(height, 1));
    ZZ_FUZZ_CHECK(maxWidth <= 0 || kept.width <= maxWidth);
    ZZ_FUZZ_CHECK(maxHeight <= 0 || kept.height <= maxHeight);
}

// Mirrors are their own inverse; the two quarter turns undo each other.
int Opposite(int orientation) {
    return orientation == 6 ? 8 : orientation == 8 ? 6 : orientation;
}

void CheckOrient(int width, int height, int orientation) {
    zz::BgraImage stored(width, height);
    for (std::size_t i = 0; i < stored.pixels.size(); ++i) {
        stored.pixels[i] = static_cast<std::uint32_t>(i);
    }
    const zz::BgraImage upright = zz::Orient(stored, orientation);
    const bool swapped = zz::SwapsAxes(orientation);
    ZZ_FUZZ_CHECK(upright.width == (swapped ? height : width));
    ZZ_FUZZ_CHECK(upright.height == (swapped ? width : height));
    ZZ_FUZZ_CHECK(upright.pixels.size() == stored.pixels.size());
    const zz::BgraImage back = zz::Orient(upright, Opposite(orientation));
    ZZ_FUZZ_CHECK(back.width == width && back.height == height && back.pixels == stored.pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const int orientation = zz::JpegOrientation(bytes);
    ZZ_FUZZ_CHECK(orientation >= 0 && orientation <= 8);
    // More of the file never changes what its first bytes already told.
    const auto claimed = zz::ReadClaimedSize(bytes);
    if (const auto early = zz::ReadClaimedSize(bytes.first(size / 2))) {
        ZZ_FUZZ_CHECK(claimed == early);
    }

    // The numbers come from the input's end, so that the header seeds still start the file.
    FuzzedDataProvider in(data, size);
    const auto width = in.ConsumeIntegral<std::uint32_t>();
    const auto height = in.ConsumeIntegral<std::uint32_t>();
    if (zz::IsAcceptablePictureSize(width, height)) {
        ZZ_FUZZ_CHECK(std::uint64_t{width} * height <= zz::kMaxPicturePixels);
        CheckKeptSize(int(width), int(height), in.ConsumeIntegral<int>(),
                      in.ConsumeIntegral<int>());
    }
    CheckKeptSize(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(),
                  in.ConsumeIntegral<int>());
    CheckOrient(in.ConsumeIntegralInRange(1, 40), in.ConsumeIntegralInRange(1, 40),
                orientation != 0 ? orientation : in.ConsumeIntegralInRange(0, 9));
    return 0;
}
