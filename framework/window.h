#pragma once
// Base of the program's windows: one window procedure for every class, which finds the C++
// object from the window and hands each message to a virtual On... member.

#include <windows.h>

namespace zz {

struct WindowClass {
    const wchar_t* name;
    UINT style = 0;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
};

class CWindow {
public:
    CWindow() = default;
    // A window still open loses its object first, so no handler runs on a half-destroyed one.
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND GetHwnd() const { return m_hWnd; }

    // Offered every queued message before it is dispatched; true when it was consumed.
    virtual bool PreTranslateMessage(MSG& msg);

protected:
    // Registers the class on first use and creates the window; false when creation failed.
    bool CreateEx(const WindowClass& windowClass, DWORD exStyle, const wchar_t* title, DWORD style,
                  const RECT& rect, HWND parent, HMENU menuOrId);

    // Routes a message to its On... member; other messages go to DefWindowProc. Overrides that
    // need more messages handle them and call this for the rest.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // -1 fails the creation.
    virtual int OnCreate(const CREATESTRUCTW& create);
    virtual void OnDestroy() {}
    virtual void OnPaint();
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnSetFocus(HWND previous);
    // false leaves the command to DefWindowProc.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // flags is the high word of lParam (bit 14: the key was already down).
    virtual void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnMouseMove(UINT keys, POINT point);
    virtual void OnLButtonUp(UINT keys, POINT point);
    virtual void OnRButtonUp(UINT keys, POINT point);
    // A top-level window on a monitor of another DPI: takes the size the system suggests.
    virtual void OnDpiChanged(UINT dpi, const RECT& suggested);

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);

    HWND m_hWnd = nullptr;
};

}  // namespace zz
