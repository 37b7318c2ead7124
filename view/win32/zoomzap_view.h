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
#include "view/win32/picture_store.h"

namespace zz {

// What the view asks of the window that holds it.
class IPlayViewOwner {
public:
    virtual ~IPlayViewOwner() = default;
    // Ctrl+Shift+Del was pressed: guard mode on or off.
    virtual void ToggleGuardMode() = 0;
    // The group whose pictures this start shows, when the settings say to ask at every start;
    // empty for all groups.
    virtual std::string PickStartupGroup() = 0;
    // Listed pictures that could not be read, by file name. Called only while the normal
    // window shows, where a parent looks: never in the middle of the child's guarded play.
    virtual void OnUnreadablePictures(const std::vector<std::string>& names) = 0;
};

class CZoomzapView : public CView, private IPictureSizes {
public:
    // Settings and media come from the program folder.
    explicit CZoomzapView(std::string programFolder = ProgramFolder());

    // Without an owner the view asks nothing: all groups, no guard mode, nothing told.
    void SetOwner(IPlayViewOwner* owner) { m_pOwner = owner; }

    // The start-up sequence; it runs again for every new document.
    void OnInitialUpdate() override;
    void Paint(HDC dc, const RECT& client) override;

    // Copies the settings file into the view; the pictures stay as they are.
    void LoadSettings();
    // Reloads the picture table for the group in effect.
    void LoadPictures();
    // Asks the owner for a group when the group value says to choose at every start.
    void ChooseStartupGroup();
    // The settings ask for guard mode at start-up.
    bool StartsInGuardMode() const { return StartsGuarded(m_settings); }

    // The owner switched guard mode: the exit hint and the stopped growth, or play as before.
    void OnGuardModeEntered();
    void OnGuardModeLeft();

    // Lays the texts out for a monitor of this many dots per inch.
    void SetDpi(int dpi) { m_surface.SetDpi(dpi); }

    const PlaySurface& Surface() const { return m_surface; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags) override;
    void OnTimer(UINT_PTR id) override;
    void OnMouseMove(UINT keys, POINT point) override;
    void OnLButtonUp(UINT keys, POINT point) override;
    void OnRButtonUp(UINT keys, POINT point) override;

private:
    bool GetPictureSize(int slot, int& width, int& height) const override;

    void OnPicturesReady();
    void ReportUnreadableWhenSeen();
    void OnReportUnreadable();
    void WantPictures();
    void LoadSoundList();
    void Apply(const PlayEffects& effects);
    void PlaySoundIndex(int index) const;
    Rect ClientRect() const;

    std::string m_strProgramFolder;
    IPlayViewOwner* m_pOwner = nullptr;
    CPictureStore m_pictures;
    // Named by the last load and not yet told to the owner.
    std::vector<std::string> m_unreadableNames;
    CrtRandom m_random{0};
    PlaySurface m_surface{*this, m_random};
    std::vector<std::string> m_soundNames;
    std::string m_strSoundsFolder;

    // As the settings file holds them, but for the group: the one whose pictures load, by
    // the name its folder has now, or the start-up choice's answer.
    Settings m_settings = DefaultSettings();

    Brush m_brWhite{CreateSolidBrush(RGB(255, 255, 255))};
};

}  // namespace zz
