// The picture header checks on any bytes: the EXIF orientation read from any file is one of
// the eight or none, the size a header claims does not change with more of the file, and a
// kept size fits its bounds without enlarging.

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
    CheckKeptSize(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(),
                  in.ConsumeIntegral<int>());
    return 0;
}
