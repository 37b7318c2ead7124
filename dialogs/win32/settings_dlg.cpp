#include "dialogs/win32/settings_dlg.h"

#include <shellapi.h>

#include <span>
#include <utility>

#include "dialogs/win32/group_select_dlg.h"
#include "dialogs/win32/order_dlg.h"
#include "dialogs/win32/parent_message.h"
#include "dialogs/win32/sound_assign_dlg.h"
#include "framework/data_exchange.h"
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
    // The entry is chosen by our own prefix rule, so every system shows the same one.
    if (state.selected >= 0) {
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(state.selected), 0);
    } else {
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetItemText(dialog, id, state.text);
    }
}

}  // namespace

CSettingsDlg::CSettingsDlg(std::string programFolder, IFileSystem& fs)
    : CDialog(IDD_SETTINGS),
      SettingsModel(programFolder, fs),
      m_programFolder(std::move(programFolder)),
      m_fs(fs) {}

BOOL CSettingsDlg::OnInitDialog() {
    HWND dialog = GetHwnd();
    FillCombo(dialog, IDC_GROWTH, kGrowthChoices);
    FillCombo(dialog, IDC_SPEED, kSpeedChoices);
    FillCombo(dialog, IDC_MAX_ZOOM, kMaxZoomChoices);
    Load();
    ShowMembers();
    ShowButtonStates();
    return TRUE;
}

void CSettingsDlg::ShowMembers() {
    HWND dialog = GetHwnd();
    const SettingsControls controls = ToControls();
    ShowCombo(dialog, IDC_GROWTH, controls.growth);
    ShowCombo(dialog, IDC_SPEED, controls.speed);
    ShowCombo(dialog, IDC_MAX_ZOOM, controls.maxZoom);
    SetRadioIndex(dialog, IDC_ROTATION_OFF, controls.rotation);
    SetRadioIndex(dialog, IDC_START_NORMAL, controls.startMode);
    SetRadioIndex(dialog, IDC_MOUSE_OFF, controls.mouse);
    SetRadioIndex(dialog, IDC_SOUND_OFF, controls.sound);
    SetRadioIndex(dialog, IDC_MAX_MEDIA_10, controls.maxMedia);
    SetItemText(dialog, IDC_GROUP, controls.group);
    SetRadioIndex(dialog, IDC_DISPLAY_RANDOM, controls.displayOrder);
}

void CSettingsDlg::ReadMembers() {
    HWND dialog = GetHwnd();
    SettingsControls controls;
    controls.growth.text = GetComboText(dialog, IDC_GROWTH);
    controls.speed.text = GetComboText(dialog, IDC_SPEED);
    controls.maxZoom.text = GetComboText(dialog, IDC_MAX_ZOOM);
    controls.rotation = GetRadioIndex(dialog, IDC_ROTATION_OFF);
    controls.startMode = GetRadioIndex(dialog, IDC_START_NORMAL);
    controls.mouse = GetRadioIndex(dialog, IDC_MOUSE_OFF);
    controls.sound = GetRadioIndex(dialog, IDC_SOUND_OFF);
    controls.maxMedia = GetRadioIndex(dialog, IDC_MAX_MEDIA_10);
    controls.group = GetItemText(dialog, IDC_GROUP);
    controls.displayOrder = GetRadioIndex(dialog, IDC_DISPLAY_RANDOM);
    FromControls(controls);
}

void CSettingsDlg::ShowButtonStates() {
    EnableWindow(GetItem(IDC_ASSIGN_SOUNDS), m_bAssignEnabled ? TRUE : FALSE);
    EnableWindow(GetItem(IDC_ORDER), m_bOrderEnabled ? TRUE : FALSE);
}

bool CSettingsDlg::OnCommand(UINT id, UINT code, HWND) {
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_IMAGES_FOLDER:
            OnImagesFolder();
            return true;
        case IDC_SOUNDS_FOLDER:
            OnSoundsFolder();
            return true;
        case IDC_ORDER:
            OnOrder();
            return true;
        case IDC_GROUP_SELECT:
            OnGroupSelect();
            return true;
        case IDC_DISPLAY_RANDOM:
            OnDisplayRandom();
            return true;
        case IDC_DISPLAY_IN_ORDER:
            OnDisplayInOrder();
            return true;
        case IDC_MAX_MEDIA_10:
        case IDC_MAX_MEDIA_100:
            OnMaxMedia();
            return true;
        case IDC_ASSIGN_SOUNDS:
            OnAssignSounds();
            return true;
        case IDC_SOUND_OFF:
            OnSoundSwitch(false);
            return true;
        case IDC_SOUND_ON:
            OnSoundSwitch(true);
            return true;
        default:
            return false;
    }
}

void CSettingsDlg::OnImagesFolder() {
    const FolderPrompt prompt = SettingsModel::OnImagesFolder();
    ShowMessage(prompt.message, 0);
    OpenFolder(prompt.folder);
}

void CSettingsDlg::OnSoundsFolder() {
    const FolderPrompt prompt = SettingsModel::OnSoundsFolder();
    ShowMessage(prompt.message, 0);
    OpenFolder(prompt.folder);
}

void CSettingsDlg::OnOrder() {
    ReadMembers();
    COrderDlg order(m_programFolder, m_fs);
    order.m_strGroup = m_strGroup;
    order.m_nMaxCount = MaxCount();
    order.m_arrOrder = m_orderList;
    order.m_encoding = m_settings.m_encoding;
    order.DoModal(GetHwnd());
    OnOrderDone(std::move(order.m_arrOrder));
}

void CSettingsDlg::OnGroupSelect() {
    ReadMembers();
    CGroupSelectDlg select(m_programFolder, m_fs);
    select.m_strGroup = m_strGroup;
    select.m_encoding = m_settings.m_encoding;
    if (select.DoModal(GetHwnd()) != IDOK) {
        return;
    }
    const bool orderFollows = OnGroupChosen(std::move(select.m_strGroup));
    // Only the group field: shown again, a typed combo text would snap to a list entry.
    SetItemText(GetHwnd(), IDC_GROUP, m_strGroup);
    if (orderFollows) {
        OnOrder();
    }
}

void CSettingsDlg::OnDisplayRandom() {
    SettingsModel::OnDisplayRandom();
    ShowButtonStates();
}

void CSettingsDlg::OnDisplayInOrder() {
    SettingsModel::OnDisplayInOrder();
    ShowButtonStates();
    OnOrder();
}

void CSettingsDlg::OnSoundSwitch(bool on) {
    if (on) {
        OnSoundOn();
    } else {
        OnSoundOff();
    }
    ShowButtonStates();
}

void CSettingsDlg::OnAssignSounds() {
    ReadMembers();
    CSoundAssignDlg assign(m_programFolder, m_fs);
    assign.m_nMaxCount = MaxCount();
    if (assign.DoModal(GetHwnd()) != IDOK) {
        return;
    }
    if (!OnSoundsAssigned(assign.m_pictureNames, assign.m_assignments)) {
        ShowMessage(AssignFailedMessage(), MB_ICONEXCLAMATION);
    }
}

void CSettingsDlg::OnOK() {
    ReadMembers();
    if (!Store()) {
        // The dialog stays open with what the parent entered, for another folder or try.
        ShowMessage(SaveFailedMessage(), MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

void CSettingsDlg::ShowMessage(const std::string& text, UINT icon) {
    ShowParentMessage(GetHwnd(), text, icon);
}

void CSettingsDlg::OpenFolder(const std::string& folder) {
    // The browser runs on its own; a folder it cannot open is its to report.
    ShellExecuteW(GetHwnd(), L"open", L"explorer.exe", Widen(QuotedArgument(folder)).c_str(),
                  Widen(folder).c_str(), SW_SHOW);
}

}  // namespace zz
