#pragma once
// Move-only owners of Win32 handles: each handle is released exactly once, by its owner. Header
// only, so that the Windows adapters of the portable core can use them too.

#include <windows.h>

namespace zz {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return Traits::IsValid(m_handle); }

    // Gives up ownership, for handles that another owner takes over (a menu set on a window), or
    // whose release must be checked.
    Handle Release() {
        Handle handle = m_handle;
        m_handle = Traits::Empty();
        return handle;
    }

    void Reset(Handle handle = Traits::Empty()) {
        if (Traits::IsValid(m_handle)) {
            Traits::Close(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle = Traits::Empty();
};

template <typename H, auto CloseFunction>
struct NullInvalidTraits {
    using Handle = H;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    // The release result is ignored on purpose: nothing sensible is left to do when it fails.
    static void Close(Handle handle) { CloseFunction(handle); }
};

// Some kernel functions report failure as null, others as INVALID_HANDLE_VALUE.
template <auto CloseFunction>
struct KernelTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle handle) {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    static void Close(Handle handle) { CloseFunction(handle); }
};

// Plain functions rather than the imported ones: an imported function's address is no
// constant for every compiler.
inline void CloseGdiObject(HGDIOBJ object) {
    DeleteObject(object);
}
inline void CloseDC(HDC dc) {
    DeleteDC(dc);
}
inline void CloseMenu(HMENU menu) {
    DestroyMenu(menu);
}
inline void CloseHook(HHOOK hook) {
    UnhookWindowsHookEx(hook);
}
inline void CloseModule(HMODULE module) {
    FreeLibrary(module);
}
inline void CloseRegistryKey(HKEY key) {
    RegCloseKey(key);
}
inline void CloseKernelHandle(HANDLE handle) {
    CloseHandle(handle);
}
inline void CloseFind(HANDLE find) {
    FindClose(find);
}
inline void FreeGlobal(HGLOBAL block) {
    GlobalFree(block);
}
inline void FreeArgumentList(LPWSTR* arguments) {
    LocalFree(arguments);
}

using Font = UniqueHandle<NullInvalidTraits<HFONT, CloseGdiObject>>;
using Brush = UniqueHandle<NullInvalidTraits<HBRUSH, CloseGdiObject>>;
using Bitmap = UniqueHandle<NullInvalidTraits<HBITMAP, CloseGdiObject>>;
// A device context made with CreateCompatibleDC; GetDC's go through WindowDC.
using MemoryDC = UniqueHandle<NullInvalidTraits<HDC, CloseDC>>;
// A printer's device context, from CreateDC or the print dialog.
using PrinterDC = UniqueHandle<NullInvalidTraits<HDC, CloseDC>>;
using Menu = UniqueHandle<NullInvalidTraits<HMENU, CloseMenu>>;
using Hook = UniqueHandle<NullInvalidTraits<HHOOK, CloseHook>>;
using Module = UniqueHandle<NullInvalidTraits<HMODULE, CloseModule>>;
using RegistryKey = UniqueHandle<NullInvalidTraits<HKEY, CloseRegistryKey>>;
using KernelHandle = UniqueHandle<KernelTraits<CloseKernelHandle>>;
// A folder listing of FindFirstFile.
using FindHandle = UniqueHandle<KernelTraits<CloseFind>>;
// A block of GlobalAlloc, as the print dialog hands them out.
using GlobalMemory = UniqueHandle<NullInvalidTraits<HGLOBAL, FreeGlobal>>;
// The argument array of CommandLineToArgvW.
using ArgumentList = UniqueHandle<NullInvalidTraits<LPWSTR*, FreeArgumentList>>;

}  // namespace zz
