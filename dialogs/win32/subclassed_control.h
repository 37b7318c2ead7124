#pragma once
// A dialog control whose messages pass through a C++ object first, by the common controls'
// subclassing, for as long as the object is attached.

#include <windows.h>

namespace zz {

class CSubclassedControl {
public:
    CSubclassedControl() = default;
    virtual ~CSubclassedControl() { Detach(); }
    CSubclassedControl(const CSubclassedControl&) = delete;
    CSubclassedControl& operator=(const CSubclassedControl&) = delete;

    // False when the control is missing or the subclass could not be installed.
    bool Attach(HWND control);
    void Detach();
    HWND GetHwnd() const { return m_hWnd; }

protected:
    // Messages the override does not take go to Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);

    HWND m_hWnd = nullptr;
};

}  // namespace zz
