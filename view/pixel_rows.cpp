#include "view/pixel_rows.h"

#include <cstring>

#include "view/bgra_image.h"

namespace zz {

int BytesPerPixel(RowFormat format) {
    switch (format) {
        case RowFormat::Gray8:
            return 1;
        case RowFormat::Bgr24:
            return 3;
        case RowFormat::Bgrx32:
        case RowFormat::Bgra32:
        case RowFormat::Pbgra32:
            return 4;
    }
    return 4;
}

namespace {

std::uint32_t Premultiply(std::uint32_t channel, std::uint32_t alpha) {
    return (channel * alpha + 127) / 255;
}

}  // namespace

void ExpandRow(RowFormat format, const std::uint8_t* from, int count, std::uint32_t* to) {
    switch (format) {
        case RowFormat::Gray8:
            for (int x = 0; x < count; ++x) {
                to[x] = Bgra(from[x], from[x], from[x]);
            }
            return;
        case RowFormat::Bgr24:
            for (int x = 0; x < count; ++x, from += 3) {
                to[x] = Bgra(from[0], from[1], from[2]);
            }
            return;
        case RowFormat::Bgrx32:
            for (int x = 0; x < count; ++x, from += 4) {
                to[x] = Bgra(from[0], from[1], from[2]);
            }
            return;
        case RowFormat::Bgra32:
            for (int x = 0; x < count; ++x, from += 4) {
                const std::uint32_t a = from[3];
                to[x] = Bgra(Premultiply(from[0], a), Premultiply(from[1], a),
                             Premultiply(from[2], a), a);
            }
            return;
        case RowFormat::Pbgra32:
            std::memcpy(to, from, std::size_t(count) * 4);
            return;
    }
}

}  // namespace zz
