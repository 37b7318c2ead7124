#pragma once
// What the Windows benchmarks share: a clock, medians, photo-like pictures and JPEG files made
// with the platform's own encoder, as a camera would have written them.

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "view/bgra_image.h"

namespace zz::bench {

inline double Now() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / ticksPerMs;
}

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The fastest run: what the code costs when nothing else competes for the machine.
inline double Best(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

inline double Worst(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// Photo-like content: smooth shading, edges and fine grain; seed makes each one differ.
inline BgraImage MakePhoto(int width, int height, std::uint32_t seed = 1) {
    BgraImage image(width, height);
    std::uint32_t noise = seed;
    const int stripeW = 37 + int(seed % 23);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int grain = int(noise >> 28);
            const int stripe = ((x / stripeW + y / 53) % 2) * 60;
            image.At(x, y) = Bgra(std::uint32_t(x * 200 / width + grain),
                                  std::uint32_t(y * 180 / height + stripe),
                                  std::uint32_t((x + y + int(seed) * 11) % 256 / 2 + grain));
        }
    }
    return image;
}

inline double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

inline std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// The phone photos that load_win_bench makes once and the other benchmarks reuse: a program
// folder with them in images.
constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;

inline int PhotoCount() {
    const char* value = std::getenv("ZZ_BENCH_PHOTOS");
    const int count = value != nullptr ? std::atoi(value) : 100;
    return count >= 1 && count <= 100 ? count : 100;
}

inline std::wstring PhotoFolder() {
    return TempPath(L"zz_bench_load");
}

inline std::wstring PhotoName(int index) {
    wchar_t name[32];
    std::swprintf(name, 32, L"photo%03d.jpg", index);
    return name;
}

inline std::wstring PhotoPath(int index) {
    return PhotoFolder() + L"\\images\\" + PhotoName(index);
}

// A picture file made with the platform's own encoder: JPEG by default, as a camera writes.
inline bool WritePicture(const BgraImage& image, const std::wstring& path,
                         const GUID& container = GUID_ContainerFormatJpeg) {
    using Microsoft::WRL::ComPtr;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(container, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(UINT(image.width), UINT(image.height))) ||
        FAILED(frame->SetPixelFormat(&format))) {
        return false;
    }
    const UINT stride = (UINT(image.width) * 3 + 3) & ~3u;
    std::vector<BYTE> rows(std::size_t(stride) * image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            for (int ch = 0; ch < 3; ++ch) {
                rows[std::size_t(y) * stride + 3 * x + ch] = BYTE(Channel(image.At(x, y), ch));
            }
        }
    }
    return SUCCEEDED(
               frame->WritePixels(UINT(image.height), stride, UINT(rows.size()), rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// The plain way: the whole frame decoded to 32-bit pixels through the platform's converter.
// Milliseconds, or -1 when the file could not be decoded; bytes is what the pixels take.
inline double DecodeWhole(const std::wstring& path, std::size_t& bytes) {
    using Microsoft::WRL::ComPtr;
    const double start = Now();
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return -1;
    }
    std::vector<BYTE> pixels(std::size_t(width) * height * 4);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, UINT(pixels.size()), pixels.data()))) {
        return -1;
    }
    bytes = pixels.size();
    return Now() - start;
}

}  // namespace zz::bench
