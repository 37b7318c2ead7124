#include "dialogs/win32/group_select_dlg.h"

#include <array>
#include <cstdint>

#include "dialogs/group_choice.h"
#include "dialogs/win32/parent_message.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/unicode.h"
#include "resources/dialog_ids.h"
#include "settings/media_library.h"

namespace zz {

namespace {

constexpr std::array<int, kGroupRadioCount> kRadioIds = {
    IDC_GROUP_RADIO0, IDC_GROUP_RADIO1, IDC_GROUP_RADIO2,  IDC_GROUP_RADIO3,
    IDC_GROUP_RADIO4, IDC_GROUP_RADIO5, IDC_GROUP_RADIO6,  IDC_GROUP_RADIO7,
    IDC_GROUP_RADIO8, IDC_GROUP_RADIO9, IDC_GROUP_RADIO10, IDC_GROUP_RADIO11};

class CGroupSelectDlg : public CDialog {
public:
    explicit CGroupSelectDlg(const GroupSelectRequest& request)
        : CDialog(IDD_GROUP_SELECT),
          m_model(ListGroups(SystemFileSystem(), request.programFolder, SIZE_MAX), request.group,
                  request.encoding),
          m_chosen(request.group) {}

    std::string m_chosen;

protected:
    BOOL OnInitDialog() override {
        for (int radio = 0; radio < kGroupRadioCount; ++radio) {
            HWND button = GetItem(kRadioIds[radio]);
            if (radio >= kFirstGroupRadio) {
                SetWindowTextW(button, Widen(EscapeMnemonics(m_model.GroupName(radio))).c_str());
            }
            if (!m_model.IsVisible(radio)) {
                ShowWindow(button, SW_HIDE);
            }
            SetCheck(GetHwnd(), kRadioIds[radio], radio == m_model.CheckedRadio());
        }
        return TRUE;
    }

    void OnOK() override {
        int checked = -1;
        for (int radio = 0; radio < kGroupRadioCount && checked < 0; ++radio) {
            checked = GetCheck(GetHwnd(), kRadioIds[radio]) ? radio : -1;
        }
        if (const auto sharing = m_model.Collisions(checked); !sharing.empty()) {
            ShowNamesMessage(GetHwnd(), IDS_GROUPS_SHARE_A_NAME, sharing,
                             MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        // With no radio checked there is no new value: the caller's stays.
        if (const std::optional<std::string> value = m_model.ValueOf(checked)) {
            m_chosen = *value;
        }
        EndDialog(IDOK);
    }

private:
    GroupSelectModel m_model;
};

}  // namespace

std::optional<std::string> RunGroupSelectDialog(HWND owner, const GroupSelectRequest& request) {
    CGroupSelectDlg dialog(request);
    if (dialog.DoModal(owner) != IDOK) {
        return std::nullopt;
    }
    return dialog.m_chosen;
}

}  // namespace zz
