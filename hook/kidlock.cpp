// The keyboard hook library: a low-level keyboard hook procedure that keeps the system key
// combinations from the system, and the export that hands it the hook handle.

#include <windows.h>

#include <atomic>

#include "hook/key_filter.h"

namespace {

// Per process (ordinary data, not shared): the hook procedure runs in the installing process.
// Atomic because hooks installed by different threads of one process may share it.
std::atomic<HHOOK> g_hHook{nullptr};

bool IsCtrlDown() {
    return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

}  // namespace

// Exported undecorated through kidlock.def, as ordinals 1 and 2.
extern "C" LRESULT CALLBACK Kidlock(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const bool altDown = (event->flags & LLKHF_ALTDOWN) != 0;
        if (zz::ShouldSwallowKey(event->vkCode, altDown, IsCtrlDown())) {
            return 1;
        }
    }
    return CallNextHookEx(g_hHook.load(std::memory_order_relaxed), nCode, wParam, lParam);
}

extern "C" void CALLBACK SetHHook(HHOOK hHook) {
    g_hHook.store(hHook, std::memory_order_relaxed);
}
