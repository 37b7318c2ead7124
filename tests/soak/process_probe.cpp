// Reads, from outside, what a long session may leak in a program running under Wine: GDI and
// USER objects and kernel handles. Wine's GetGuiResources and GetProcessHandleCount answer 0
// for another process, so the counts come from its tables.
// Usage: process_probe.exe CAPTION   of the program's main window; prints key=value lines.

#include <windows.h>
// After <windows.h>, which it needs.
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "framework/handles.h"

namespace {

// One entry of the GDI handle table that the process environment block points to (x64). Wine's
// table is the process's own, so its used entries are the GDI objects, stock objects included.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kPebGdiTableOffset = 0xF8;

int CountGdiObjects(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    std::uint64_t table = 0;
    std::vector<GdiHandleEntry> entries(0x10000);
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                  nullptr) != 0 ||
        !ReadProcessMemory(
            process,
            reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress) + kPebGdiTableOffset,
            &table, sizeof table, nullptr) ||
        !ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof entries[0], nullptr)) {
        return -1;
    }
    return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                          [](const GdiHandleEntry& entry) { return entry.type; }));
}

// Kernel handles of the process, from the system's handle list; a list that does not fit reads
// as -1, which fails the test rather than passing it.
int CountHandles(DWORD pid) {
    std::vector<std::uint8_t> buffer(16 << 20);
    if (NtQuerySystemInformation(SystemHandleInformation, buffer.data(),
                                 static_cast<ULONG>(buffer.size()), nullptr) != 0) {
        return -1;
    }
    const auto* list = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    return static_cast<int>(
        std::count_if(list->Handle, list->Handle + list->Count,
                      [pid](const auto& handle) { return handle.OwnerPid == pid; }));
}

// USER objects: the windows of the process, top-level and child. The census is (pid, count).
BOOL CALLBACK CountWindow(HWND window, LPARAM census) {
    auto* counted = reinterpret_cast<std::pair<DWORD, int>*>(census);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    counted->second += pid == counted->first;
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    DWORD pid = 0;
    GetWindowThreadProcessId(argc == 2 ? FindWindowW(nullptr, argv[1]) : nullptr, &pid);
    zz::KernelHandle process(
        pid == 0 ? nullptr : OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) {
        std::fputs("usage: process_probe CAPTION, of a running program's window\n", stderr);
        return 2;
    }
    std::pair<DWORD, int> census{pid, 0};
    EnumChildWindows(GetDesktopWindow(), CountWindow, reinterpret_cast<LPARAM>(&census));
    std::printf("gdi=%d\nuser=%d\nhandles=%d\n", CountGdiObjects(process.Get()), census.second,
                CountHandles(pid));
    return 0;
}
