#include "view/win32/wic_decode.h"

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "framework/handles.h"
#include "view/image_header.h"
#include "view/picture_levels.h"
#include "view/pixel_rows.h"
#include "view/resample.h"
#include "view/win32/stoppable_stream.h"

namespace zz {
namespace {

using Microsoft::WRL::ComPtr;

// Rows are fetched in strips of about this many pixels: a large photo never sits in this
// module's memory whole.
constexpr UINT kStripPixels = 1u << 18;
// A file's header, and a JPEG file's EXIF block, come in its first bytes (a JPEG segment is at
// most 64 KB); a frame header further on goes unchecked here, and the decoder's size is
// checked again.
constexpr DWORD kHeadBytes = 256 * 1024;

// Not in MinGW's headers, so declared here under a name of our own. Windows' JPEG decoder
// offers it to decode at 1/2, 1/4 or 1/8 of the size at once; Wine's decoder does not.
struct ISourceTransform : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride,
                                                 UINT size, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                           BOOL* supported) = 0;
};
constexpr IID kSourceTransformId = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// The first bytes of the file, where its header and a photo's EXIF block are, its last bytes,
// where a PNG file's end chunk is, and its size.
struct FileEnds {
    std::vector<std::uint8_t> head;
    std::vector<std::uint8_t> tail;
    std::uint64_t size = 0;
};

bool ReadAt(HANDLE file, std::uint64_t offset, std::vector<std::uint8_t>& bytes) {
    LARGE_INTEGER at{};
    at.QuadPart = LONGLONG(offset);
    DWORD read = 0;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
        !ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr)) {
        return false;
    }
    bytes.resize(read);
    return true;
}

bool ReadEnds(const std::wstring& path, FileEnds& ends) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size)) {
        return false;
    }
    ends.size = std::uint64_t(size.QuadPart);
    ends.head.resize(std::size_t(std::min<std::uint64_t>(ends.size, kHeadBytes)));
    ends.tail.resize(std::size_t(std::min<std::uint64_t>(ends.size, kPictureTailBytes)));
    return ReadAt(file.Get(), 0, ends.head) &&
           ReadAt(file.Get(), ends.size - ends.tail.size(), ends.tail);
}

// Fetches the rows of a width x height source in strips (copy fills one) and hands each strip
// to take, top to bottom.
template <typename Copy, typename Take>
bool ForEachStrip(UINT width, UINT height, std::stop_token stop, Copy copy, Take take) {
    const UINT rows = std::clamp<UINT>(kStripPixels / width, 1, height);
    std::vector<std::uint32_t> strip(std::size_t(width) * rows);
    for (UINT y = 0; y < height; y += rows) {
        const UINT n = std::min(rows, height - y);
        const WICRect rect{0, INT(y), INT(width), INT(n)};
        if (stop.stop_requested() || !copy(rect, strip.data())) {
            return false;
        }
        take(strip.data(), int(n));
    }
    return true;
}

// Strips of a width x height source reduced to size, or taken as they are when the size is
// the source's own.
template <typename Copy>
bool ReadReduced(UINT width, UINT height, PixelSize size, std::stop_token stop, Copy copy,
                 BgraImage& out) {
    if (size == PixelSize{int(width), int(height)}) {
        out = BgraImage(int(width), int(height));
        int y = 0;
        return ForEachStrip(width, height, stop, copy, [&](const std::uint32_t* strip, int n) {
            std::memcpy(out.Row(y), strip, std::size_t(n) * width * 4);
            y += n;
        });
    }
    AreaDownscaler reducer(int(width), int(height), size.width, size.height);
    if (!ForEachStrip(width, height, stop, copy, [&](const std::uint32_t* strip, int n) {
            reducer.AddRows(strip, n, width);
        })) {
        return false;
    }
    out = reducer.TakeResult();
    return true;
}

// The row layouts this module reads itself: faster than the platform's format converter
// (Wine's takes about half a second for a 12-megapixel photo).
std::optional<RowFormat> RowFormatOf(const WICPixelFormatGUID& format) {
    const std::pair<const GUID*, RowFormat> known[] = {
        {&GUID_WICPixelFormat8bppGray, RowFormat::Gray8},
        {&GUID_WICPixelFormat24bppBGR, RowFormat::Bgr24},
        {&GUID_WICPixelFormat32bppBGR, RowFormat::Bgrx32},
        {&GUID_WICPixelFormat32bppBGRA, RowFormat::Bgra32},
        {&GUID_WICPixelFormat32bppPBGRA, RowFormat::Pbgra32},
    };
    for (const auto& [guid, row] : known) {
        if (IsEqualGUID(format, *guid)) {
            return row;
        }
    }
    return std::nullopt;
}

// A width x height source whose copyRaw(rect, stride, size, buffer) fills rows of format,
// reduced to size.
template <typename CopyRaw>
bool ReadRows(UINT width, UINT height, RowFormat format, PixelSize size, std::stop_token stop,
              CopyRaw copyRaw, BgraImage& out) {
    const UINT stride = (width * UINT(BytesPerPixel(format)) + 3) & ~3u;
    std::vector<BYTE> raw;
    auto copy = [&](const WICRect& rect, std::uint32_t* strip) {
        raw.resize(std::size_t(stride) * rect.Height);
        if (FAILED(copyRaw(rect, stride, UINT(raw.size()), raw.data()))) {
            return false;
        }
        for (int r = 0; r < rect.Height; ++r) {
            ExpandRow(format, raw.data() + std::size_t(r) * stride, int(width),
                      strip + std::size_t(r) * width);
        }
        return true;
    };
    return ReadReduced(width, height, size, stop, copy, out);
}

// Through the codec's own reduced decoding, when it has one and the picture is at least twice
// as large as needed.
bool DecodeScaledJpeg(IWICBitmapFrameDecode& frame, UINT width, UINT height, PixelSize size,
                      std::stop_token stop, BgraImage& out) {
    ComPtr<ISourceTransform> transform;
    if (FAILED(frame.QueryInterface(kSourceTransformId,
                                    reinterpret_cast<void**>(transform.GetAddressOf())))) {
        return false;
    }
    UINT w = 0;
    UINT h = 0;
    for (UINT factor : {8u, 4u, 2u}) {
        w = (width + factor - 1) / factor;
        h = (height + factor - 1) / factor;
        if (w >= UINT(size.width) && h >= UINT(size.height) &&
            SUCCEEDED(transform->GetClosestSize(&w, &h)) && w >= UINT(size.width) &&
            h >= UINT(size.height) && w < width) {
            break;
        }
        w = 0;
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    if (w == 0 || FAILED(transform->GetClosestPixelFormat(&format))) {
        return false;
    }
    const std::optional<RowFormat> row = RowFormatOf(format);
    if (!row) {
        return false;
    }
    ISourceTransform* const source = transform.Get();
    auto copyRaw = [&, source](const WICRect& rect, UINT stride, UINT bytes, BYTE* buffer) {
        WICPixelFormatGUID wanted = format;  // the call takes it writable
        return source->CopyPixels(&rect, w, h, &wanted, WICBitmapTransformRotate0, stride, bytes,
                                  buffer);
    };
    return ReadRows(w, h, *row, size, stop, copyRaw, out);
}

// Straight from the frame when its layout is a known one, else through the platform's
// converter to premultiplied 32-bit pixels.
bool DecodeFrame(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, UINT width, UINT height,
                 PixelSize size, std::stop_token stop, BgraImage& out) {
    WICPixelFormatGUID format{};
    std::optional<RowFormat> row;
    ComPtr<IWICBitmapSource> source(&frame);
    if (SUCCEEDED(frame.GetPixelFormat(&format))) {
        row = RowFormatOf(format);
    }
    if (!row) {
        ComPtr<IWICFormatConverter> converter;
        if (FAILED(factory.CreateFormatConverter(&converter)) ||
            FAILED(converter->Initialize(&frame, GUID_WICPixelFormat32bppPBGRA,
                                         WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom))) {
            return false;
        }
        source = converter;
        row = RowFormat::Pbgra32;
    }
    IWICBitmapSource* const pixels = source.Get();
    auto copyRaw = [pixels](const WICRect& rect, UINT stride, UINT bytes, BYTE* buffer) {
        return pixels->CopyPixels(&rect, stride, bytes, buffer);
    };
    return ReadRows(width, height, *row, size, stop, copyRaw, out);
}

}  // namespace

bool DecodePictureFile(const std::wstring& path, const KeptBound& bound, DecodedPicture& out,
                       std::stop_token stop) {
    // Some decoders (Wine's JPEG one) allocate for the claimed size as soon as they open the
    // file, so an absurd claim is refused before any of them sees it.
    // Nor does a file cut short reach them: some read past its end.
    FileEnds ends;
    if (!ReadEnds(path, ends) || !LooksComplete(ends.head, ends.tail, ends.size)) {
        return false;
    }
    const std::vector<std::uint8_t>& head = ends.head;
    if (const std::optional<ClaimedSize> claimed = ReadClaimedSize(head);
        claimed && !IsAcceptablePictureSize(claimed->width, claimed->height)) {
        return false;
    }
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory)))) {
        return false;
    }
    // Before the codec's objects, so that it closes the file after they are released.
    const StoppablePictureFile file(*factory.Get(), path, stop);
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (file.Stream() == nullptr ||
        FAILED(factory->CreateDecoderFromStream(file.Stream(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
        !IsAcceptablePictureSize(width, height)) {
        return false;
    }
    // No codec reports the orientation everywhere (Wine's never does), so it is read here.
    const int orientation = JpegOrientation(head);
    const bool turned = SwapsAxes(orientation);
    const int uprightWidth = int(turned ? height : width);
    const int uprightHeight = int(turned ? width : height);
    const PixelSize kept = KeptSizeFor(uprightWidth, uprightHeight, bound);
    const PixelSize stored = turned ? PixelSize{kept.height, kept.width} : kept;
    BgraImage image;
    if (!DecodeScaledJpeg(*frame.Get(), width, height, stored, stop, image) &&
        (stop.stop_requested() ||
         !DecodeFrame(*factory.Get(), *frame.Get(), width, height, stored, stop, image))) {
        return false;
    }
    FlattenOnWhite(image);
    out.image = Orient(std::move(image), orientation);
    out.width = uprightWidth;
    out.height = uprightHeight;
    return true;
}

}  // namespace zz
