#pragma once
// Guards for Win32 calls that come in pairs: the second call runs when the guard goes.

#include <windows.h>

namespace zz {

// BeginPaint / EndPaint for one WM_PAINT.
class PaintGuard {
public:
    explicit PaintGuard(HWND window) : m_window(window) { m_dc = BeginPaint(window, &m_paint); }
    ~PaintGuard() { EndPaint(m_window, &m_paint); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;

    HDC Dc() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

// SelectObject, and the previous object selected back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (m_previous != nullptr && m_previous != HGDI_ERROR) {
            SelectObject(m_dc, m_previous);
        }
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// SaveDC / RestoreDC: mapping mode, extents, origins and selections as they were.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : m_dc(dc), m_nSaved(SaveDC(dc)) {}
    ~SavedDC() {
        if (m_nSaved != 0) {
            RestoreDC(m_dc, m_nSaved);
        }
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC m_dc;
    int m_nSaved;
};

// GetDC / ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDC() {
        if (m_dc != nullptr) {
            ReleaseDC(m_window, m_dc);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

}  // namespace zz
