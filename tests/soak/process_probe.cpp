// Reads, from outside, what a long session may leak in a running program under Wine: GDI and
// USER objects, kernel handles, whether it still answers, and whether the cursor shows.
// Usage: process_probe.exe NAME.exe   prints key=value lines; exit code 2 when NAME is not
// running. For the toddler test, which cannot see inside a Windows process from Linux; Wine's
// GetGuiResources and GetProcessHandleCount answer 0 for it.

#include <windows.h>
// After <windows.h>, which they need.
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/handles.h"

namespace {

using zz::KernelHandle;

DWORD FindProcess(const wchar_t* name) {
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return 0;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (lstrcmpiW(entry.szExeFile, name) == 0) {
            return entry.th32ProcessID;
        }
    }
    return 0;
}

// Layout of one entry of the GDI handle table that the process environment block points to.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiHandleSlots = 0x10000;
constexpr std::size_t kPebGdiTableOffset = 0xF8;  // x64

// Wine's GDI handle table is the process's own, so the used entries are its GDI objects (stock
// objects included).
int CountGdiTableEntries(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                  nullptr) != 0) {
        return -1;
    }
    std::uint64_t table = 0;
    const auto* tableField =
        reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress) + kPebGdiTableOffset;
    if (!ReadProcessMemory(process, tableField, &table, sizeof table, nullptr) || table == 0) {
        return -1;
    }
    std::vector<GdiHandleEntry> entries(kGdiHandleSlots);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(GdiHandleEntry), nullptr)) {
        return -1;
    }
    int used = 0;
    for (const GdiHandleEntry& entry : entries) {
        used += entry.type != 0 ? 1 : 0;
    }
    return used;
}

// Handles the process holds, from the system's handle list.
int CountSystemHandles(DWORD pid) {
    std::vector<std::uint8_t> buffer(1 << 20);
    ULONG needed = 0;
    NTSTATUS status = 0;
    while ((status = NtQuerySystemInformation(
                SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                &needed)) == static_cast<NTSTATUS>(0xC0000004L)) {  // too small
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) {
        return -1;
    }
    const auto* info = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    int held = 0;
    for (ULONG i = 0; i < info->Count; ++i) {
        held += info->Handle[i].OwnerPid == pid ? 1 : 0;
    }
    return held;
}

struct WindowCensus {
    DWORD pid = 0;
    int windows = 0;
    HWND topLevel = nullptr;  // a visible one, to ask whether the program answers
};

BOOL CALLBACK CountChild(HWND, LPARAM census) {
    ++reinterpret_cast<WindowCensus*>(census)->windows;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    auto* census = reinterpret_cast<WindowCensus*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == census->pid) {
        ++census->windows;
        if (census->topLevel == nullptr && IsWindowVisible(window)) {
            census->topLevel = window;
        }
        EnumChildWindows(window, CountChild, param);
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: process_probe NAME.exe\n", stderr);
        return 1;
    }
    const DWORD pid = FindProcess(argv[1]);
    KernelHandle process(
        pid == 0 ? nullptr : OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) {
        std::fputs("not running\n", stderr);
        return 2;
    }

    WindowCensus census;
    census.pid = pid;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&census));
    DWORD_PTR ignored = 0;
    const bool answers =
        census.topLevel != nullptr &&
        SendMessageTimeoutW(census.topLevel, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;

    // The show count of the foreground thread's input: the program's, while it has the focus.
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    const bool cursorKnown = GetCursorInfo(&cursor) != 0;

    std::printf("pid=%lu\nanswers=%d\ngdi=%d\nuser=%d\nhandles=%d\n", pid, answers ? 1 : 0,
                CountGdiTableEntries(process.Get()), census.windows, CountSystemHandles(pid));
    std::printf("cursor=%s\n", !cursorKnown                      ? "unknown"
                               : (cursor.flags & CURSOR_SHOWING) ? "shown"
                                                                 : "hidden");
    return 0;
}
