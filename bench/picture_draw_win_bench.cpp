// Picture module figures: drawing at every size of a growing picture against the platform's
// HALFTONE stretch from the same source, the cached redraw, and loading a large photo.
// Prints medians; run it by hand, it fails nothing.

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_win_support.h"
#include "framework/handles.h"
#include "settings/app_settings.h"
#include "view/bgra_image.h"
#include "view/image_header.h"
#include "view/play_surface.h"
#include "view/win32/picture.h"
#include "view/win32/wic_decode.h"

namespace zz {
namespace {

using bench::Best;
using bench::Median;
using bench::Now;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kRuns = 9;

class ScreenCanvas {
public:
    explicit ScreenCanvas(int width = kScreenWidth, int height = kScreenHeight)
        : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<std::uint32_t*>(bits);
        m_previous = SelectObject(m_dc.Get(), m_bitmap.Get());
    }
    ~ScreenCanvas() { SelectObject(m_dc.Get(), m_previous); }
    HDC Dc() const { return m_dc.Get(); }
    std::uint32_t At(int x, int y) const { return m_bits[std::size_t(y) * m_width + x]; }
    void Clear() { std::fill(m_bits, m_bits + std::size_t(m_width) * m_height, 0u); }

private:
    int m_width;
    int m_height;
    MemoryDC m_dc;
    Bitmap m_bitmap;
    std::uint32_t* m_bits = nullptr;
    HGDIOBJ m_previous = nullptr;
};

double HalftoneDraw(HDC dc, const BgraImage& source, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = source.width;
    info.bmiHeader.biHeight = -source.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    const double start = Now();
    StretchDIBits(dc, 0, 0, width, height, 0, 0, source.width, source.height, source.pixels.data(),
                  &info, DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    return Now() - start;
}

// Each run draws at a size other than the last, so that every draw scales anew, as the
// animation's ticks do.
double TickDraw(HDC dc, const CPicture& picture, int width, int height, int run) {
    const int w = width - run % 2;
    const int h = std::max(1, height - run % 2);
    const double start = Now();
    picture.Draw(dc, 0, 0, w, h);
    GdiFlush();
    return Now() - start;
}

void CompareBySize(HDC dc, const BgraImage& photo, const CPicture& picture) {
    std::printf("\nDraw at a new size (a tick) into a %dx%d memory DC, median of %d, ms\n",
                kScreenWidth, kScreenHeight, kRuns);
    std::printf("(best run in brackets)\n%8s %20s %20s %8s\n", "width", "HALFTONE", "CPicture",
                "faster");
    for (int width : {4, 64, 240, 480, 960, 1440, 1920}) {
        const int height = width * photo.height / photo.width;
        std::vector<double> halftone;
        std::vector<double> tick;
        for (int run = 0; run < kRuns; ++run) {
            halftone.push_back(HalftoneDraw(dc, photo, width, height));
            tick.push_back(TickDraw(dc, picture, width, height, run));
        }
        const double h = Median(halftone);
        const double t = Median(tick);
        std::printf("%8d %9.3f (%7.3f) %9.3f (%7.3f) %7.1fx%s\n", width, h, Best(halftone), t,
                    Best(tick), h / t, h / t >= 8 ? "" : "  (target: 8x)");
    }
}

// The exact area average of the source under each drawn pixel, in floating point: what a
// perfect downscale gives, channel by channel.
std::vector<double> ReferenceDownscale(const BgraImage& source, int width, int height) {
    std::vector<double> out(std::size_t(width) * height * 3);
    const double sx = double(source.width) / width;
    const double sy = double(source.height) / height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sums[3] = {0, 0, 0};
            double area = 0;
            for (int v = int(y * sy); v < std::min(source.height, int(std::ceil((y + 1) * sy)));
                 ++v) {
                const double wy = std::min(v + 1.0, (y + 1) * sy) - std::max(double(v), y * sy);
                for (int u = int(x * sx); u < std::min(source.width, int(std::ceil((x + 1) * sx)));
                     ++u) {
                    const double w =
                        wy * (std::min(u + 1.0, (x + 1) * sx) - std::max(double(u), x * sx));
                    for (int ch = 0; ch < 3; ++ch) {
                        sums[ch] += w * Channel(source.At(u, v), ch);
                    }
                    area += w;
                }
            }
            for (int ch = 0; ch < 3; ++ch) {
                out[(std::size_t(y) * width + x) * 3 + ch] = sums[ch] / area;
            }
        }
    }
    return out;
}

// Mean difference per channel from the reference, in levels of 255.
double MeanError(const ScreenCanvas& canvas, const std::vector<double>& reference, int width,
                 int height) {
    GdiFlush();
    double sum = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int ch = 0; ch < 3; ++ch) {
                sum += std::abs(Channel(canvas.At(x, y), ch) -
                                reference[(std::size_t(y) * width + x) * 3 + ch]);
            }
        }
    }
    return sum / (double(width) * height * 3);
}

void CompareQuality(ScreenCanvas& canvas, const BgraImage& photo, const CPicture& picture) {
    std::printf(
        "\nDownscaling quality: mean difference from an exact area average, levels of "
        "255\n%8s %10s %10s\n",
        "width", "HALFTONE", "CPicture");
    for (int width : {240, 480, 960, 1440}) {
        const int height = width * photo.height / photo.width;
        const std::vector<double> reference = ReferenceDownscale(photo, width, height);
        canvas.Clear();
        HalftoneDraw(canvas.Dc(), photo, width, height);
        const double halftone = MeanError(canvas, reference, width, height);
        canvas.Clear();
        picture.Draw(canvas.Dc(), 0, 0, width, height);
        const double ours = MeanError(canvas, reference, width, height);
        std::printf("%8d %10.2f %10.2f%s\n", width, halftone, ours,
                    ours <= halftone ? "" : "  (target: no worse than HALFTONE)");
    }
}

void Animation(HDC dc, const CPicture& picture, const char* where) {
    std::vector<double> ticks;
    for (int half = 1; half * 2 <= kScreenWidth;) {
        const int width = half * 2;
        const double start = Now();
        picture.Draw(dc, kScreenWidth / 2 - half,
                     kScreenHeight / 2 - width * picture.Height() / picture.Width() / 2, width,
                     width * picture.Height() / picture.Width());
        GdiFlush();
        ticks.push_back(Now() - start);
        half += std::max(1, half / 10);
    }
    const double worst = *std::max_element(ticks.begin(), ticks.end());
    std::printf(
        "Growth 10%% to full width into %s: %zu ticks, median %.3f ms, last %.3f ms, "
        "worst %.3f ms (target: full width <= 4 ms)\n",
        where, ticks.size(), Median(ticks), ticks.back(), worst);
}

void CachedRedraw(HDC dc, const CPicture& picture) {
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        const double start = Now();
        picture.Draw(dc, 0, 0, 1920, 1440);
        GdiFlush();
        runs.push_back(Now() - start);
    }
    std::printf("Redraw at an unchanged size 1920 wide (copy only): median %.3f ms\n",
                Median(runs));
}

void WindowDraw(const CPicture& picture) {
    HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, kScreenWidth,
                                  kScreenHeight, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        std::printf("No window could be made: window figures skipped\n");
        return;
    }
    HDC dc = GetDC(window);
    Animation(dc, picture, "a window");
    ReleaseDC(window, dc);
    DestroyWindow(window);
}

void Loading(const std::wstring& path, int width, int height) {
    std::vector<double> kept;
    std::vector<double> whole;
    std::size_t keptBytes = 0;
    std::size_t wholeBytes = 0;
    for (int run = 0; run < 3; ++run) {
        const double start = Now();
        const CPicture picture = CPicture::Load(path, kScreenWidth, 0);
        kept.push_back(Now() - start);
        keptBytes = picture.MemoryBytes();
        whole.push_back(bench::DecodeWhole(path, wholeBytes));
    }
    std::printf("\nLoad a %dx%d JPEG, median of 3:\n", width, height);
    std::printf("  CPicture kept %d wide: %.1f ms, %.1f MB held (with its halvings)\n",
                kScreenWidth, Median(kept), keptBytes / 1048576.0);
    std::printf("  baseline, whole frame through the WIC converter: %.1f ms, %.1f MB\n",
                Median(whole), wholeBytes / 1048576.0);
}

// The sizes of the last ticks of a growth of the shipped 10 % a tick up to the full width of a
// screen-wide client, the last one first.
std::vector<PixelSize> LastTicks(int width, int height, int count) {
    struct OnePicture : IPictureSizes, IRandomSource {
        int width = 0;
        int height = 0;
        bool GetPictureSize(int slot, int& w, int& h) const override {
            w = width;
            h = height;
            return slot == 0;
        }
        int Next() override { return 0; }
    } picture;
    picture.width = width;
    picture.height = height;
    CAppSettings settings("unused");
    settings.m_nGrowth = 10;
    settings.m_nMaxZoom = 100;
    const Rect client{0, 0, kScreenWidth, kScreenHeight};
    PlaySurface surface(picture, picture);
    surface.ApplySettings(settings, client);
    surface.SetPictures(1, {});
    surface.ShowNextPicture();
    std::vector<PixelSize> ticks;
    while (surface.IsAnimating()) {
        surface.OnTimer(client);
        Rect drawn;
        surface.PictureRect(drawn);
        ticks.insert(ticks.begin(), PixelSize{drawn.Width(), drawn.Height()});
    }
    ticks.resize(std::size_t(count));
    return ticks;
}

// A draw centred on the screen as the view draws it: the parts outside are clipped.
double CentredDraw(HDC dc, const CPicture& picture, PixelSize size) {
    const double start = Now();
    picture.Draw(dc, (kScreenWidth - size.width) / 2, (kScreenHeight - size.height) / 2, size.width,
                 size.height);
    GdiFlush();
    return Now() - start;
}

// The photo's last ticks from the copy the program keeps, at the size the growth ends at,
// against the full-width tick from the copy kept before (2400 wide, a quarter of the screen to
// spare for the last step); their error against an exact area average of the whole photo,
// against HALFTONE's from the whole photo.
void PhotoTicks(HDC dc, const std::wstring& path) {
    DecodedPicture whole;
    if (!DecodePictureFile(path, {}, whole)) {
        return;
    }
    const std::vector<PixelSize> ticks = LastTicks(whole.width, whole.height, 3);
    const CPicture kept = CPicture::LoadAt(path, ticks[0].width, ticks[0].height);
    const CPicture before = CPicture::Load(path, kScreenWidth * 5 / 4, kScreenWidth * 5 / 2);
    std::vector<std::vector<double>> times(ticks.size());
    std::vector<double> baseline;
    for (int run = 0; run < kRuns; ++run) {
        for (std::size_t i = ticks.size(); i-- > 0;) {
            times[i].push_back(CentredDraw(dc, kept, ticks[i]));
        }
        baseline.push_back(TickDraw(dc, before, kScreenWidth, kScreenWidth * 3 / 4, run));
    }
    std::printf(
        "\nThe last ticks of a growth of 10 %% a tick to full width, 4000x3000 photo, into a "
        "%dx%d memory DC, median of %d (best), ms:\n",
        kScreenWidth, kScreenHeight, kRuns);
    const char* names[] = {"last tick, full width", "the tick before", "two before"};
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        std::printf("  %-22s %4dx%-4d from the copy kept %dx%d: %.3f (%.3f)%s\n", names[i],
                    ticks[i].width, ticks[i].height, kept.KeptWidth(), kept.KeptHeight(),
                    Median(times[i]), Best(times[i]), i == 0 ? "  (target: <= 4 ms)" : "");
    }
    std::printf("  baseline, %d wide from the copy kept %dx%d before: %.3f (%.3f)\n", kScreenWidth,
                before.KeptWidth(), before.KeptHeight(), Median(baseline), Best(baseline));

    std::printf(
        "Their error from an exact area average of the whole photo, levels of 255:\n%22s %10s "
        "%10s\n",
        "size", "HALFTONE", "CPicture");
    for (const PixelSize& size : ticks) {
        ScreenCanvas canvas(size.width, size.height);
        const std::vector<double> reference =
            ReferenceDownscale(whole.image, size.width, size.height);
        HalftoneDraw(canvas.Dc(), whole.image, size.width, size.height);
        const double halftone = MeanError(canvas, reference, size.width, size.height);
        canvas.Clear();
        kept.Draw(canvas.Dc(), 0, 0, size.width, size.height);
        const double ours = MeanError(canvas, reference, size.width, size.height);
        std::printf("%17dx%-4d %10.2f %10.2f%s\n", size.width, size.height, halftone, ours,
                    ours <= halftone ? "" : "  (target: no worse than HALFTONE)");
    }
}

}  // namespace
}  // namespace zz

int main() {
    using namespace zz;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::printf("COM could not start\n");
        return 1;
    }
    {
        // Lossless, so that both ways start from the very same pixels.
        const BgraImage photo = bench::MakePhoto(1600, 1200);
        const std::wstring path = bench::TempPath(L"zz_bench_1600.bmp");
        const CPicture picture = bench::WritePicture(photo, path, GUID_ContainerFormatBmp)
                                     ? CPicture::Load(path, kScreenWidth, 0)
                                     : CPicture();
        if (!picture) {
            std::printf("The bench picture could not be loaded\n");
            return 1;
        }
        std::printf("Source 1600x1200 (the baseline's own source), kept at %dx%d\n",
                    picture.Width(), picture.Height());
        ScreenCanvas canvas;
        CompareBySize(canvas.Dc(), photo, picture);
        CompareQuality(canvas, photo, picture);
        std::printf("\n");
        Animation(canvas.Dc(), picture, "a memory DC");
        WindowDraw(picture);
        CachedRedraw(canvas.Dc(), picture);
        DeleteFileW(path.c_str());

        const std::wstring largePath = bench::TempPath(L"zz_bench_4000.jpg");
        if (bench::WritePicture(bench::MakePhoto(4000, 3000), largePath)) {
            Loading(largePath, 4000, 3000);
            PhotoTicks(canvas.Dc(), largePath);
        }
        DeleteFileW(largePath.c_str());
    }
    CoUninitialize();
    return 0;
}
