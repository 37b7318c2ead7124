#pragma once
// The play surface: the white client area of the main frame, where key presses make pictures
// appear and grow. The decisions are PlaySurface's; this class turns them into GDI, timer,
// window and sound calls.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/handles.h"
#include "framework/view.h"
#include "settings/crt_random.h"
#include "view/picture_loader.h"
#include "view/play_surface.h"
#include "view/win32/keyboard_guard.h"
#include "view/win32/picture_store.h"

namespace zz {

class CZoomzapView : public CView, private IPictureSizes {
public:
    // Registers itself as the application's play view.
    CZoomzapView();

    // The start-up sequence; it runs again for every new document.
    void OnInitialUpdate() override;
    void Paint(HDC dc, const RECT& client) override;

    // Copies the settings file into the view; the pictures stay as they are.
    void LoadSettings();
    // Reloads the picture table for m_strGroup.
    void LoadPictures();
    // Enters the guard mode, or leaves it.
    void ToggleFullScreen();
    // Asks for a group when the group value says to choose at every start.
    void ChooseStartupGroup();

    // Lays the texts out for a monitor of this many dots per inch.
    void SetDpi(int dpi) { m_surface.SetDpi(dpi); }

    const PlaySurface& Surface() const { return m_surface; }

    // The group whose pictures are loaded; the start-up choice replaces the stored value.
    std::string m_strGroup;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags) override;
    void OnTimer(UINT_PTR id) override;
    void OnMouseMove(UINT keys, POINT point) override;
    void OnLButtonUp(UINT keys, POINT point) override;
    void OnRButtonUp(UINT keys, POINT point) override;

private:
    bool GetPictureSize(int slot, int& width, int& height) const override;

    void OnPicturesReady();
    void WantPictures();
    void LoadSoundList();
    void Apply(const PlayEffects& effects);
    void PlaySoundIndex(int index) const;
    void EnterGuardMode();
    void LeaveGuardMode();
    Rect ClientRect() const;

    std::string m_strProgramFolder;
    CPictureStore m_hPictures;
    CrtRandom m_random{0};
    PlaySurface m_surface{*this, m_random};
    std::vector<std::string> m_szSoundNames;
    std::string m_szSoundsDir;

    std::string m_strTitle;
    int m_nRotation = 0;  // kept with the settings; pictures are always drawn upright
    int m_nStartMode = 0;
    int m_nDisplayOrder = 0;
    int m_nMaxCount = 10;
    std::vector<std::string> m_pictureOrder;

    bool m_bCursorShown = true;
    RECT m_rcSaved{};  // client rectangle when the guard mode was entered
    Brush m_brWhite{CreateSolidBrush(RGB(255, 255, 255))};
    CKeyboardGuard m_keyboardGuard;
};

}  // namespace zz
