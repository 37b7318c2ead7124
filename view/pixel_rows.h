#pragma once
// The pixel layouts that decoders hand rows out in, and their conversion to the premultiplied
// 32-bit pixels the picture module works with.

#include <cstdint>

namespace zz {

enum class RowFormat {
    Gray8,    // one grey byte
    Bgr24,    // blue, green, red
    Bgrx32,   // blue, green, red, unused
    Bgra32,   // blue, green, red, alpha; colours not yet multiplied by alpha
    Pbgra32,  // blue, green, red, alpha; colours multiplied by alpha
};

int BytesPerPixel(RowFormat format);

// count pixels of format from `from` into to, premultiplied; opaque where the format has no
// alpha.
void ExpandRow(RowFormat format, const std::uint8_t* from, int count, std::uint32_t* to);

}  // namespace zz
