#include "dialogs/win32/settings_dlg.h"

#include <shellapi.h>

#include <span>
#include <utility>

#include "dialogs/settings_model.h"
#include "dialogs/win32/group_select_dlg.h"
#include "dialogs/win32/order_dlg.h"
#include "dialogs/win32/sound_assign_dlg.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/message_box.h"
#include "framework/unicode.h"
#include "resources/dialog_ids.h"

namespace zz {

namespace {

void FillCombo(HWND dialog, int id, std::span<const std::string_view> choices) {
    for (const std::string_view choice : choices) {
        AddComboItem(dialog, id, choice);
    }
}

void ShowCombo(HWND dialog, int id, const ComboState& state) {
    // The entry is chosen by our own rule, so every system shows the same one.
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(state.selected), 0);
    if (state.selected < 0) {
        SetItemText(dialog, id, state.text);
    }
}

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(const SettingsDialogRequest& request)
        : CDialog(IDD_SETTINGS), m_model(request.programFolder, SystemFileSystem()) {}

    bool MediaChanged() const { return m_model.MediaChanged(); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void ShowControls();
    void ReadControls();
    void ShowButtonStates();
    void OnFolder(const std::string& folder, UINT promptId);
    void OnOrder();
    void OnGroupSelect();
    void OnDisplayInOrder();
    void OnAssignSounds();
    void OnSound(bool on);

    SettingsModel m_model;
};

BOOL CSettingsDlg::OnInitDialog() {
    HWND dialog = GetHwnd();
    FillCombo(dialog, IDC_GROWTH, kGrowthChoices);
    FillCombo(dialog, IDC_SPEED, kSpeedChoices);
    FillCombo(dialog, IDC_MAX_ZOOM, kMaxZoomChoices);
    m_model.Load();
    ShowControls();
    ShowButtonStates();
    return TRUE;
}

void CSettingsDlg::ShowControls() {
    HWND dialog = GetHwnd();
    const SettingsControls controls = m_model.ToControls();
    ShowCombo(dialog, IDC_GROWTH, controls.growth);
    ShowCombo(dialog, IDC_SPEED, controls.speed);
    ShowCombo(dialog, IDC_MAX_ZOOM, controls.maxZoom);
    SetRadioIndex(dialog, IDC_ROTATION_OFF, controls.rotation);
    SetRadioIndex(dialog, IDC_START_NORMAL, controls.startMode);
    SetRadioIndex(dialog, IDC_MOUSE_OFF, controls.mouse);
    SetRadioIndex(dialog, IDC_SOUND_OFF, controls.sound);
    SetRadioIndex(dialog, IDC_MAX_MEDIA_10, controls.mediaLimit);
    SetItemText(dialog, IDC_GROUP, controls.group);
    SetRadioIndex(dialog, IDC_DISPLAY_RANDOM, controls.displayOrder);
}

void CSettingsDlg::ReadControls() {
    HWND dialog = GetHwnd();
    SettingsControls controls;
    controls.growth.text = GetComboText(dialog, IDC_GROWTH);
    controls.speed.text = GetComboText(dialog, IDC_SPEED);
    controls.maxZoom.text = GetComboText(dialog, IDC_MAX_ZOOM);
    controls.rotation = GetRadioIndex(dialog, IDC_ROTATION_OFF);
    controls.startMode = GetRadioIndex(dialog, IDC_START_NORMAL);
    controls.mouse = GetRadioIndex(dialog, IDC_MOUSE_OFF);
    controls.sound = GetRadioIndex(dialog, IDC_SOUND_OFF);
    controls.mediaLimit = GetRadioIndex(dialog, IDC_MAX_MEDIA_10);
    controls.group = GetItemText(dialog, IDC_GROUP);
    controls.displayOrder = GetRadioIndex(dialog, IDC_DISPLAY_RANDOM);
    m_model.FromControls(controls);
}

void CSettingsDlg::ShowButtonStates() {
    EnableWindow(GetItem(IDC_ASSIGN_SOUNDS), m_model.AssignEnabled() ? TRUE : FALSE);
    EnableWindow(GetItem(IDC_ORDER), m_model.OrderEnabled() ? TRUE : FALSE);
}

bool CSettingsDlg::OnCommand(UINT id, UINT code, HWND) {
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_IMAGES_FOLDER:
            OnFolder(m_model.OnImagesFolder(), IDS_IMAGES_FOLDER_PROMPT);
            return true;
        case IDC_SOUNDS_FOLDER:
            OnFolder(m_model.OnSoundsFolder(), IDS_SOUNDS_FOLDER_PROMPT);
            return true;
        case IDC_ORDER:
            OnOrder();
            return true;
        case IDC_GROUP_SELECT:
            OnGroupSelect();
            return true;
        case IDC_DISPLAY_RANDOM:
            m_model.OnDisplayRandom();
            ShowButtonStates();
            return true;
        case IDC_DISPLAY_IN_ORDER:
            OnDisplayInOrder();
            return true;
        case IDC_MAX_MEDIA_10:
        case IDC_MAX_MEDIA_100:
            m_model.OnMediaLimit();
            return true;
        case IDC_ASSIGN_SOUNDS:
            OnAssignSounds();
            return true;
        case IDC_SOUND_OFF:
        case IDC_SOUND_ON:
            OnSound(id == IDC_SOUND_ON);
            return true;
        default:
            return false;
    }
}

// The parent is told what belongs in the folder, then the desktop's file browser opens it
// without waiting; a folder it cannot open is its to report.
void CSettingsDlg::OnFolder(const std::string& folder, UINT promptId) {
    const std::wstring path = Widen(folder);
    ShowMessage(GetHwnd(), promptId, path, MB_OK);
    // Quoted, so that blanks and commas stay inside the one argument.
    ShellExecuteW(GetHwnd(), L"open", L"explorer.exe", (L"\"" + path + L"\"").c_str(), path.c_str(),
                  SW_SHOW);
}

void CSettingsDlg::OnOrder() {
    ReadControls();
    const Settings& edited = m_model.Edited();
    OrderDialogRequest request{m_model.Folder(), edited.group, MaxMediaCount(edited),
                               edited.pictureOrder, edited.encoding};
    std::optional<std::vector<std::string>> order = RunOrderDialog(GetHwnd(), request);
    m_model.OnOrderDone(order ? std::move(*order) : std::move(request.order));
}

void CSettingsDlg::OnGroupSelect() {
    ReadControls();
    const Settings& edited = m_model.Edited();
    std::optional<std::string> group =
        RunGroupSelectDialog(GetHwnd(), {m_model.Folder(), edited.group, edited.encoding});
    if (!group) {
        return;
    }
    const bool orderFollows = m_model.OnGroupChosen(std::move(*group));
    // Only the group field: shown again, a typed combo text would snap to a list entry.
    SetItemText(GetHwnd(), IDC_GROUP, m_model.Edited().group);
    if (orderFollows) {
        OnOrder();
    }
}

void CSettingsDlg::OnDisplayInOrder() {
    m_model.OnDisplayInOrder();
    ShowButtonStates();
    OnOrder();
}

void CSettingsDlg::OnSound(bool on) {
    m_model.OnSound(on);
    ShowButtonStates();
}

void CSettingsDlg::OnAssignSounds() {
    ReadControls();
    const std::optional<SoundAssignResult> assigned =
        RunSoundAssignDialog(GetHwnd(), {m_model.Folder(), MaxMediaCount(m_model.Edited())});
    if (assigned && !m_model.OnSoundsAssigned(assigned->pictureNames, assigned->assignments)) {
        ShowMessage(GetHwnd(), IDS_SOUNDS_NOT_SAVED, Widen(m_model.IniPath()));
    }
}

void CSettingsDlg::OnOK() {
    ReadControls();
    if (!m_model.Store()) {
        // The dialog stays open with what the parent entered, for another folder or try.
        ShowMessage(GetHwnd(), IDS_SETTINGS_NOT_SAVED, Widen(m_model.IniPath()));
        return;
    }
    EndDialog(IDOK);
}

}  // namespace

std::optional<SettingsDialogResult> RunSettingsDialog(HWND owner,
                                                      const SettingsDialogRequest& request) {
    CSettingsDlg dialog(request);
    if (dialog.DoModal(owner) != IDOK) {
        return std::nullopt;
    }
    return SettingsDialogResult{dialog.MediaChanged()};
}

}  // namespace zz
