// The picture store with the phone photos that load_win_bench makes (run that first): the
// background load of all of them with one decoding thread and with two, in the same run, and
// how long a new load and the program's end wait for a load under way, with the photos and with
// folders that hold nothing but other files. Prints figures with their targets; fails nothing.

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_win_support.h"
#include "framework/unicode.h"
#include "settings/media_library.h"
#include "view/win32/picture_store.h"

namespace zz {
namespace {

using bench::Median;
using bench::Now;
using bench::Worst;

constexpr int kCancelRuns = 5;

// A folder of many sub-folders that hold other files only: in random order every file is tried
// and none counts toward the bound. Made once, like the photos.
std::wstring NoPictureFolder() {
    return bench::TempPath(L"zz_bench_no_pictures");
}

// And one folder of 20 000 such files: its listing alone takes about as long as a dropped load
// may make anyone wait.
std::wstring BigFolder() {
    return bench::TempPath(L"zz_bench_big_folder");
}

// folders folders of files text files each in root's images folder, unless made before.
bool MakeNoPictureFolder(const std::wstring& root, int folders, int files) {
    const std::wstring images = root + L"\\images";
    if (GetFileAttributesW((images + L"\\done").c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(images.c_str(), nullptr);
    for (int folder = 0; folder < folders; ++folder) {
        const std::wstring path = images + L"\\f" + std::to_wstring(folder);
        CreateDirectoryW(path.c_str(), nullptr);
        for (int file = 0; file < files; ++file) {
            std::ofstream(std::filesystem::path(path + L"\\note" + std::to_wstring(file) + L".txt"))
                << "not a picture";
        }
    }
    return bool(std::ofstream(std::filesystem::path(images + L"\\done")) << "made");
}

class Store {
public:
    explicit Store(int threads)
        : m_window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr)),
          m_store(std::make_unique<CPictureStore>(threads)) {}
    ~Store() { DestroyWindow(m_window); }

    void Load(const std::wstring& folder, int displayOrder) {
        PictureLoadRules rules;
        rules.maxCount = 100;
        rules.displayOrder = displayOrder;
        for (int i = 0; displayOrder == 1 && i < 100; ++i) {
            rules.order.push_back(Narrow(bench::PhotoName(i)));
        }
        m_slots.clear();
        m_done = false;
        m_store->Load(m_window, Narrow(folder), rules);
    }

    // Takes what has come until until() holds or the time is up; false then.
    template <typename Until>
    bool PumpUntil(Until until, double timeoutMs) {
        for (const double end = Now() + timeoutMs; !until();) {
            if (Now() > end) {
                return false;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, m_window, 0, 0, PM_REMOVE)) {
                if (msg.message == kPicturesReadyMessage) {
                    Take();
                }
            }
        }
        return true;
    }

    bool Done() const { return m_done; }
    const std::vector<int>& Slots() const { return m_slots; }
    // The wait for a load under way, as the program's end has it.
    double End() {
        const double start = Now();
        m_store.reset();
        return Now() - start;
    }

private:
    void Take() {
        const int before = m_store->LoadedCount();
        const CPictureStore::Update update = m_store->TakeUpdates();
        m_done = m_done || update.done;
        // In order the slots are 0, 1, …: each new one is the next leading slot.
        for (int slot = before; slot < m_store->LoadedCount(); ++slot) {
            m_slots.push_back(m_store->LeadingCount() > slot ? slot : -1);
        }
    }

    HWND m_window;
    std::unique_ptr<CPictureStore> m_store;
    std::vector<int> m_slots;
    bool m_done = false;
};

// The whole table with this many decoding threads: seconds, and whether the slots filled in
// order with none missing.
double LoadAll(int threads, int count, bool& inOrder) {
    Store store(threads);
    const double start = Now();
    store.Load(bench::PhotoFolder(), 1);
    const bool done = store.PumpUntil([&] { return store.Done(); }, 600000);
    const double seconds = (Now() - start) / 1000.0;
    std::vector<int> expected;
    for (int i = 0; i < count; ++i) {
        expected.push_back(i);
    }
    inOrder = done && store.Slots() == expected;
    return done ? seconds : -1;
}

void Threads(int count) {
    bool inOrderOne = false;
    bool inOrderTwo = false;
    const double one = LoadAll(1, count, inOrderOne);
    const double two = LoadAll(2, count, inOrderTwo);
    std::printf("Background load of %d photos in order, slots filling 0, 1, 2, ...\n", count);
    std::printf("  one decoding thread: %.1f s%s\n", one, inOrderOne ? "" : " (NOT in order)");
    std::printf("  two decoding threads: %.1f s%s, %.2fx as fast (target: >= 1.7x)\n", two,
                inOrderTwo ? "" : " (NOT in order)", two > 0 ? one / two : 0);
    std::printf("PEER zoomzap loaded_s=%.1f\n", two);
}

// How long a new load waits for one abandoned after startMs, and the program's end for one
// under way after startMs: the new load's first answer comes once the old one has let go. The
// baseline is what a dropped load used to finish first: baselineMs.
void Cancel(const wchar_t* what, const std::wstring& folder, int displayOrder, double startMs,
            const char* baseline, double baselineMs) {
    const std::wstring empty = bench::TempPath(L"zz_bench_empty");
    CreateDirectoryW(empty.c_str(), nullptr);
    std::vector<double> newLoad;
    std::vector<double> end;
    for (int run = 0; run < kCancelRuns; ++run) {
        Store store(2);
        store.Load(folder, displayOrder);
        store.PumpUntil([] { return false; }, startMs);
        const double start = Now();
        store.Load(empty, displayOrder);
        store.PumpUntil([&] { return store.Done(); }, 60000);
        newLoad.push_back(Now() - start);
        store.Load(folder, displayOrder);
        store.PumpUntil([] { return false; }, startMs);
        end.push_back(store.End());
    }
    std::printf(
        "  %ls: a new load waits median %.0f ms, worst %.0f ms; the end waits median %.0f ms, "
        "worst %.0f ms (target: <= 100 ms)\n    baseline, %s: %.0f ms\n",
        what, Median(newLoad), Worst(newLoad), Median(end), Worst(end), baseline, baselineMs);
}

// One photo's decoding to the small copy, median of three.
double PhotoDecoding() {
    std::vector<double> runs;
    for (int run = 0; run < 3; ++run) {
        const double start = Now();
        CPicture::Load(bench::PhotoPath(run), 480, 480);
        runs.push_back(Now() - start);
    }
    return Median(runs);
}

// The walk of a whole folder that an abandoned load in random order used to go on with: every
// folder listed, no file counted.
double WholeWalk(const std::wstring& folder) {
    const double start = Now();
    WalkFolder(SystemFileSystem(), Narrow(folder + L"\\images"), "", 0, 100,
               [](const WalkFile&) { return false; });
    return Now() - start;
}

}  // namespace
}  // namespace zz

int main() {
    using namespace zz;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    const int count = bench::PhotoCount();
    if (GetFileAttributesW(bench::PhotoPath(count - 1).c_str()) == INVALID_FILE_ATTRIBUTES ||
        !MakeNoPictureFolder(NoPictureFolder(), 1000, 10) ||
        !MakeNoPictureFolder(BigFolder(), 1, 20000)) {
        std::printf("No photos: run load_win_bench.exe first\n");
        return 1;
    }
    Threads(count);
    std::printf("A load abandoned while it runs, %d runs each:\n", kCancelRuns);
    Cancel(L"photos in order, during a decode", bench::PhotoFolder(), 1, 300,
           "the decoding of one photo, which a dropped load finished first", PhotoDecoding());
    Cancel(L"10000 files that are no pictures in 1000 folders, random order", NoPictureFolder(), 0,
           100, "the whole walk, which a dropped load went on with", WholeWalk(NoPictureFolder()));
    Cancel(L"20000 files that are no pictures in one folder, random order", BigFolder(), 0, 20,
           "that folder's listing, which a dropped load waited for", WholeWalk(BigFolder()));
    CoUninitialize();
    return 0;
}
