#include "app/keyboard_guard.h"

#include <future>
#include <utility>

#include "framework/handles.h"

namespace zz {
namespace {

constexpr DWORD kGuardMajorVersion = 5;  // first platform version with low-level keyboard hooks
constexpr UINT kInstallMessage = WM_APP + 1;
constexpr UINT kStopMessage = WM_APP + 2;

// Member order matters: the hook goes before its library is released.
struct InstalledHook {
    Module module;
    Hook hook;
};

using SetHHookProc = void(CALLBACK*)(HHOOK);

template <typename Proc>
Proc ExportOf(HMODULE module, const char* name) {
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// GetVersionEx reports what the manifest allows; the kernel's own figure is the real one.
DWORD PlatformMajorVersion() {
    using RtlGetVersionProc = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    const auto rtlGetVersion =
        ExportOf<RtlGetVersionProc>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    RTL_OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Only systems older than version 5 lack it.
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) {
        return kGuardMajorVersion - 1;
    }
    return info.dwMajorVersion;
}

void SetScreenSaverRunning(BOOL running) {
    BOOL previous = FALSE;  // not used, but the call writes it
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running, &previous, 0);
}

// A hook already in force stays the only one.
bool InstallHook(const std::wstring& library, InstalledHook& installed) {
    if (installed.hook) {
        return true;
    }
    Module module(LoadLibraryW(library.c_str()));
    if (!module) {
        return false;
    }
    const auto proc = ExportOf<HOOKPROC>(module.Get(), "Kidlock");
    const auto setHHook = ExportOf<SetHHookProc>(module.Get(), "SetHHook");
    if (proc == nullptr || setHHook == nullptr) {
        return false;
    }
    Hook hook(SetWindowsHookExW(WH_KEYBOARD_LL, proc, module.Get(), 0));
    // Handed over even when null: the library then passes every event on.
    setHHook(hook.Get());
    if (!hook) {
        return false;
    }
    installed = {std::move(module), std::move(hook)};
    return true;
}

// The system calls a low-level hook on the thread that installed it, from that thread's message
// retrieval; this loop does nothing else, so the hook never misses its time-out. The hook goes
// with the thread.
void GuardThread(std::wstring library, std::promise<DWORD> started) {
    MSG msg;
    // Makes the message queue before anyone posts to it.
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    started.set_value(GetCurrentThreadId());

    InstalledHook installed;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != kStopMessage) {
        if (msg.hwnd == nullptr && msg.message == kInstallMessage) {
            auto* reply = reinterpret_cast<std::promise<int>*>(msg.lParam);
            reply->set_value(InstallHook(library, installed) ? 1 : 0);
        } else {
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace

CKeyboardGuard::CKeyboardGuard(std::wstring libraryName) : m_strLibrary(std::move(libraryName)) {}

void CKeyboardGuard::SetUp() {
    if (PlatformMajorVersion() < kGuardMajorVersion) {
        SetScreenSaverRunning(TRUE);
        return;
    }
    if (m_nHooks > 0) {
        return;
    }
    if (!m_thread.joinable()) {
        StartThread();
    }
    std::promise<int> reply;
    std::future<int> hooks = reply.get_future();
    if (!PostThreadMessageW(m_dwThreadId, kInstallMessage, 0, reinterpret_cast<LPARAM>(&reply))) {
        return;  // no guard thread to run a hook: the program runs unguarded
    }
    m_nHooks = hooks.get();
}

// Stopped and joined rather than left to process exit: the thread removes its own hook, and exit
// never cuts it off in the middle of a hook.
void CKeyboardGuard::Release() {
    if (m_thread.joinable()) {
        if (PostThreadMessageW(m_dwThreadId, kStopMessage, 0, 0)) {
            m_thread.join();
        } else {
            m_thread.detach();  // unreachable thread: better left to process exit than waited for
        }
    }
    m_nHooks = 0;
    SetScreenSaverRunning(FALSE);
}

void CKeyboardGuard::StartThread() {
    std::promise<DWORD> started;
    std::future<DWORD> threadId = started.get_future();
    m_thread = std::thread(GuardThread, m_strLibrary, std::move(started));
    m_dwThreadId = threadId.get();
}

}  // namespace zz
