// Start-up, key and memory figures with a folder of phone photos (100 of 4000x3000 JPEG, made
// once by this program in %TEMP%\zz_bench_load and reused): the real program's time to a window
// that answers and its longest silence while it loads; then, with the play view in a copy of
// this program beside the photos, the time from a key to the first frame of the new picture
// while the photos load, the paints at full width once they are loaded, and the peak memory
// once every photo was shown. The baseline, decoding every photo whole, is measured in the same
// run. Prints figures with their targets; fails nothing. ZZ_BENCH_PHOTOS=n takes fewer photos
// for a quick look.

#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "bench/bench_win_support.h"
#include "framework/unicode.h"
#include "settings/app_settings.h"
#include "view/win32/zoomzap_view.h"

namespace zz {
namespace {

using bench::Median;
using bench::Now;
using bench::Percentile;
using bench::PhotoName;
using bench::PhotoPath;
using bench::Worst;

constexpr double kMB = 1048576.0;
constexpr int kKeysWhileLoading = 200;
constexpr int kKeysAfterAPause = 20;

std::wstring BenchFolder() {
    return bench::PhotoFolder();
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring own(path, length);
    return own.substr(0, own.find_last_of(L'\\'));
}

bool MakePhotos(int count) {
    CreateDirectoryW(BenchFolder().c_str(), nullptr);  // may be there from an earlier run
    CreateDirectoryW((BenchFolder() + L"\\images").c_str(), nullptr);
    const double start = Now();
    int made = 0;
    for (int i = 0; i < count; ++i) {
        if (GetFileAttributesW(PhotoPath(i).c_str()) != INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        if (!bench::WritePicture(bench::MakePhoto(bench::kPhotoWidth, bench::kPhotoHeight, i + 1),
                                 PhotoPath(i))) {
            std::printf("Photo %d could not be written\n", i);
            return false;
        }
        ++made;
    }
    std::printf("%d photos of %dx%d JPEG in %ls (%d made now, in %.1f s)\n", count,
                bench::kPhotoWidth, bench::kPhotoHeight, (BenchFolder() + L"\\images").c_str(),
                made, (Now() - start) / 1000.0);
    return true;
}

void WholeDecodingBaseline(int count) {
    double total = 0;
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i) {
        const double ms = bench::DecodeWhole(PhotoPath(i), bytes);
        if (ms < 0) {
            std::printf("Photo %d could not be decoded whole\n", i);
            return;
        }
        total += ms;
    }
    std::printf(
        "Baseline, each photo decoded whole through the WIC converter, one after another: "
        "%.1f s; kept whole they would take %.0f MB\n",
        total / 1000.0, double(bytes) * count / kMB);
}

// Settings beside the program: up to 100 pictures, the photos in order so that a key press
// each shows them all, and a quick growth.
bool WriteSettings(int count) {
    CAppSettings settings(Narrow(BenchFolder()));
    settings.Load();
    settings.m_nMaxMedia = 1;
    settings.m_nDisplayOrder = 1;
    settings.m_nGrowth = 30;
    settings.m_nSpeed = 1;
    settings.m_nMaxZoom = 100;
    settings.m_nStartMode = 0;
    settings.m_nSound = 0;
    settings.m_strGroup.clear();
    settings.m_pictureOrder.clear();
    for (int i = 0; i < count; ++i) {
        settings.m_pictureOrder.push_back(Narrow(PhotoName(i)));
    }
    return settings.Save();
}

struct FindWindowOf {
    DWORD process = 0;
    HWND found = nullptr;
};

HWND VisibleWindowOf(DWORD process) {
    FindWindowOf find{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* find = reinterpret_cast<FindWindowOf*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == find->process && IsWindowVisible(window)) {
                find->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// Milliseconds until the window answers, or a negative value when it never does.
double AnswerTime(HWND window, UINT timeoutMs) {
    const double start = Now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result)) {
        return -1;
    }
    return Now() - start;
}

// The real program started beside the photos, three times: the time to a window that answers;
// the first time also the longest answer to a message while it loads (for as long as a load
// takes, at most kWatchMs).
constexpr double kWatchMs = 20000;

double StartFigures() {
    const std::wstring exe = BenchFolder() + L"\\Zoomzap.exe";
    std::vector<double> starts;
    double silence = 0;
    double watched = 0;
    for (int run = 0; run < 3; ++run) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        const double start = Now();
        if (!CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                            BenchFolder().c_str(), &startup, &process)) {
            std::printf("Zoomzap.exe could not be started\n");
            return -1;
        }
        HWND window = nullptr;
        while (Now() - start < 30000) {
            window = VisibleWindowOf(process.dwProcessId);
            if (window != nullptr && AnswerTime(window, 100) >= 0) {
                break;
            }
            window = nullptr;
            Sleep(1);
        }
        starts.push_back(window != nullptr ? Now() - start : -1);
        const double watchFrom = Now();
        for (const double until = Now() + (run == 0 ? kWatchMs : 0);
             window != nullptr && Now() < until; Sleep(20)) {
            const double answer = AnswerTime(window, 5000);
            silence = std::max(silence, answer < 0 ? 5000 : answer);
        }
        watched = std::max(watched, Now() - watchFrom);
        TerminateProcess(process.hProcess, 0);  // the bench's own child
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::printf(
        "Zoomzap.exe, start to a window that answers: median %.0f ms of 3 (target: "
        "<= 1000 ms)\n",
        Median(starts));
    std::printf(
        "  longest answer to a message over the %.0f s after that, while it loads: %.0f ms "
        "(target: <= 50 ms)\n",
        watched / 1000.0, silence);
    std::printf("PEER zoomzap silence_ms=%.0f\n", silence);
    return Median(starts);
}

// Pumps, timing each paint of the view, until done() or the time is up.
template <typename Done>
bool PumpUntil(HWND view, Done done, double timeoutMs, std::vector<double>* paints) {
    const double until = Now() + timeoutMs;
    while (!done()) {
        if (Now() > until) {
            return false;
        }
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            continue;
        }
        const bool paint = msg.hwnd == view && msg.message == WM_PAINT;
        const double start = Now();
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (paint && paints != nullptr) {
            GdiFlush();
            paints->push_back(Now() - start);
        }
    }
    return true;
}

// A key as the program gets it, until its first frame is on the window: the key's own
// handling and the paint, timed apart so that the worst case shows where it waits.
struct KeyTimes {
    std::vector<double> total;
    std::vector<double> handling;
    std::vector<double> paint;

    void Press(HWND view) {
        const double key = Now();
        SendMessageW(view, WM_KEYDOWN, 'A', 1);
        const double handled = Now();
        UpdateWindow(view);
        GdiFlush();
        const double painted = Now();
        SendMessageW(view, WM_KEYUP, 'A', 0xC0000001);
        total.push_back(painted - key);
        handling.push_back(handled - key);
        paint.push_back(painted - handled);
    }

    void Print(const char* when) const {
        std::printf(
            "  key to the first frame of the new picture %s: median %.2f ms, p99 %.2f ms, "
            "worst %.2f ms of %zu (target: p99 <= 20 ms, worst <= 30 ms)\n",
            when, Median(total), Percentile(total, 0.99), Worst(total), total.size());
        std::printf("    of which the key's handling: worst %.2f ms; the paint: worst %.2f ms\n",
                    Worst(handling), Worst(paint));
    }
};

// In the copy beside the photos: the play view in this process, driven key by key.
int Child(int count) {
    const double start = Now();
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    CMainFrame frame;
    CZoomzapView view;
    if (!frame.Create() || !view.Create(frame.GetHwnd())) {
        std::printf("No window could be made\n");
        return 1;
    }
    frame.SetView(&view);
    view.OnInitialUpdate();
    ShowWindow(frame.GetHwnd(), SW_SHOWMAXIMIZED);
    UpdateWindow(frame.GetHwnd());
    const double answering = Now() - start;
    HWND hwnd = view.GetHwnd();
    auto loadedAll = [&] { return view.Surface().PictureCount() >= count; };

    // A child at the keyboard while the photos load: a key every few tens of milliseconds.
    PumpUntil(
        hwnd, [&] { return view.Surface().PictureCount() > 0; }, 60000, nullptr);
    KeyTimes whileLoading;
    KeyTimes afterwards;
    for (int i = 0; i < kKeysWhileLoading; ++i) {
        (loadedAll() ? afterwards : whileLoading).Press(hwnd);
        PumpUntil(
            hwnd, [] { return false; }, 30, nullptr);
    }
    const bool loaded = PumpUntil(hwnd, loadedAll, 600000, nullptr);
    const double loadTime = Now() - start;

    // Every photo grown to full width, one key after the other, then a few after a pause that
    // lets the copies at the size the growth ends at come.
    std::vector<double> rushedPaints;
    std::vector<double> fullWidthPaints;
    RECT client{};
    GetClientRect(hwnd, &client);
    for (int i = 0; i < count + kKeysAfterAPause && loaded; ++i) {
        if (i >= count) {
            PumpUntil(
                hwnd, [] { return false; }, 400, nullptr);
        }
        afterwards.Press(hwnd);
        std::vector<double> paints;
        // Until the paint of the last tick is done, too.
        PumpUntil(
            hwnd,
            [&] { return !view.Surface().IsAnimating() && !GetUpdateRect(hwnd, nullptr, FALSE); },
            10000, &paints);
        // The last paint is the one at full width.
        if (!paints.empty()) {
            (i < count ? rushedPaints : fullWidthPaints).push_back(paints.back());
        }
    }
    PumpUntil(
        hwnd, [] { return false; }, 500, nullptr);  // the last copies arrive
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);

    std::printf("Play view in this process, client %ldx%ld, %d photos in order:\n", client.right,
                client.bottom, count);
    std::printf("  window up and answering after %.0f ms (target: <= 1000 ms)\n", answering);
    std::printf("  all %d photos loaded in the background after %.1f s, keys coming meanwhile%s\n",
                count, loadTime / 1000.0, loaded ? "" : " (NOT all loaded: gave up)");
    whileLoading.Print("while the photos load");
    afterwards.Print("once they are loaded");
    std::printf(
        "  paint of the last tick at full width, real window: median %.2f ms, worst %.2f ms of "
        "%zu keys after a pause; median %.2f ms, worst %.2f ms of %zu keys in a row, before "
        "the copy at that size could come\n",
        Median(fullWidthPaints), Worst(fullWidthPaints), fullWidthPaints.size(),
        Median(rushedPaints), Worst(rushedPaints), rushedPaints.size());
    std::printf(
        "  memory after every photo was shown: peak working set %.0f MB, peak private "
        "%.0f MB, now %.0f MB (target: peak <= 300 MB)\n",
        memory.PeakWorkingSetSize / kMB, memory.PeakPagefileUsage / kMB,
        memory.WorkingSetSize / kMB);
    std::printf("PEER zoomzap peak_mb=%.0f\n", memory.PeakWorkingSetSize / kMB);
    DestroyWindow(frame.GetHwnd());
    CoUninitialize();
    return 0;
}

bool CopyBeside(const std::wstring& name, const std::wstring& as) {
    return CopyFileW((OwnFolder() + L"\\" + name).c_str(), (BenchFolder() + L"\\" + as).c_str(),
                     FALSE);
}

int RunChild(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe + L"\" --child";
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        BenchFolder().c_str(), &startup, &process)) {
        std::printf("The bench copy could not be started\n");
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(code);
}

int Parent(int count) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    const bool ready = MakePhotos(count) && WriteSettings(count) &&
                       CopyBeside(L"Zoomzap.exe", L"Zoomzap.exe") &&
                       CopyBeside(L"Kidlock.dll", L"Kidlock.dll") &&
                       CopyBeside(L"load_win_bench.exe", L"load_win_bench_copy.exe");
    if (!ready) {
        std::printf("The bench folder could not be set up\n");
        return 1;
    }
    std::fflush(stdout);
    WholeDecodingBaseline(count);
    std::printf("PEER zoomzap answering_ms=%.0f\n", StartFigures());
    std::fflush(stdout);
    CoUninitialize();
    return RunChild(BenchFolder() + L"\\load_win_bench_copy.exe");
}

}  // namespace
}  // namespace zz

int main(int argc, char** argv) {
    const int count = zz::bench::PhotoCount();
    if (argc > 1 && std::string(argv[1]) == "--child") {
        const int code = zz::Child(count);
        std::fflush(stdout);
        return code;
    }
    return zz::Parent(count);
}
