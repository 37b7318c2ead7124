#pragma once
// The play surface: the white client area of the main frame, where key presses make pictures
// appear and grow. The decisions are PlaySurface's; this class turns them into GDI, timer,
// window and sound calls.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/handles.h"
#include "framework/view.h"
#include "settings/file_system.h"
#include "settings/crt_random.h"
#include "view/picture_loader.h"
#include "view/play_surface.h"
#include "view/win32/keyboard_guard.h"
#include "view/win32/picture_store.h"

namespace zz {

// What the view asks of the window that holds it.
class IPlayViewOwner {
public:
    virtual ~IPlayViewOwner() = default;
    // Listed pictures that could not be read, by file name. Called only while the normal
    // window shows, where a parent looks: never in the middle of the child's guarded play.
    virtual void OnUnreadablePictures(const std::vector<std::string>& names) = 0;
};

class CZoomzapView : public CView, private IPictureSizes {
public:
    // Registers itself as the application's play view. Settings and media come from the
    // program folder.
    explicit CZoomzapView(std::string programFolder = ProgramFolder());
    // Also when the program ends without closing the window, as after printing from the
    // command line.
    ~CZoomzapView() override { GiveBackToSystem(); }

    void SetOwner(IPlayViewOwner* owner) { m_pOwner = owner; }

    // The start-up sequence; it runs again for every new document. It enters the guard mode
    // when the settings ask for it, and never leaves it.
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

    void GiveBackToSystem();
    void OnPicturesReady();
    void ReportUnreadableWhenSeen();
    void OnReportUnreadable();
    void WantPictures();
    void LoadSoundList();
    void Apply(const PlayEffects& effects);
    void PlaySoundIndex(int index) const;
    void EnterGuardMode();
    void LeaveGuardMode();
    Rect ClientRect() const;

    std::string m_strProgramFolder;
    IPlayViewOwner* m_pOwner = nullptr;
    CPictureStore m_hPictures;
    // Named by the last load and not yet told to the owner.
    std::vector<std::string> m_unreadableNames;
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
    TextEncoding m_encoding = TextEncoding::kCp932;  // the settings file's

    bool m_bCursorShown = true;
    RECT m_rcSaved{};  // client rectangle when the guard mode was entered
    Brush m_brWhite{CreateSolidBrush(RGB(255, 255, 255))};
    CKeyboardGuard m_keyboardGuard;
};

}  // namespace zz
