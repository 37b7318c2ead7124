#pragma once
// A dialog control whose messages pass through a C++ object first: the control's window
// procedure is replaced while the object is attached and given back when it lets go.

#include <windows.h>

namespace zz {

class CSubclassedControl {
public:
    CSubclassedControl() = default;
    virtual ~CSubclassedControl() { Detach(); }
    CSubclassedControl(const CSubclassedControl&) = delete;
    CSubclassedControl& operator=(const CSubclassedControl&) = delete;

    // False when the control is missing or already attached elsewhere.
    bool Attach(HWND control);
    void Detach();
    HWND GetHwnd() const { return m_hWnd; }

protected:
    // Messages the override does not take go to Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_oldProc = nullptr;
};

}  // namespace zz
