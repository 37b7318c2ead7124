#include "dialogs/win32/group_select_dlg.h"

#include <cstdint>
#include <utility>

#include "dialogs/win32/parent_message.h"
#include "framework/data_exchange.h"
#include "framework/unicode.h"
#include "resources/dialog_ids.h"
#include "settings/media_library.h"

namespace zz {

namespace {

constexpr std::array<int, kGroupRadioCount> kRadioIds = {
    IDC_GROUP_RADIO0, IDC_GROUP_RADIO1, IDC_GROUP_RADIO2,  IDC_GROUP_RADIO3,
    IDC_GROUP_RADIO4, IDC_GROUP_RADIO5, IDC_GROUP_RADIO6,  IDC_GROUP_RADIO7,
    IDC_GROUP_RADIO8, IDC_GROUP_RADIO9, IDC_GROUP_RADIO10, IDC_GROUP_RADIO11};

}  // namespace

CGroupSelectDlg::CGroupSelectDlg(std::string programFolder, IFileSystem& fs)
    : CDialog(IDD_GROUP_SELECT), m_programFolder(std::move(programFolder)), m_fs(fs) {}

BOOL CGroupSelectDlg::OnInitDialog() {
    const GroupSelectModel& model =
        m_model.emplace(ListGroups(m_fs, m_programFolder, SIZE_MAX), m_strGroup, m_encoding);
    for (int radio = 0; radio < kGroupRadioCount; ++radio) {
        HWND button = GetItem(kRadioIds[radio]);
        m_pGroupRadios[radio] = button;
        if (radio >= kFirstGroupRadio) {
            SetWindowTextW(button, Widen(EscapeMnemonics(model.Caption(radio))).c_str());
        }
        if (!model.IsVisible(radio)) {
            ShowWindow(button, SW_HIDE);
        }
    }
    m_nGroupRadio = model.m_nGroupRadio;
    for (int radio = 0; radio < kGroupRadioCount; ++radio) {
        SetCheck(GetHwnd(), kRadioIds[radio], radio == m_nGroupRadio);
    }
    return TRUE;
}

void CGroupSelectDlg::OnOK() {
    m_nGroupRadio = -1;
    for (int radio = 0; radio < kGroupRadioCount; ++radio) {
        if (SendMessageW(m_pGroupRadios[radio], BM_GETCHECK, 0, 0) == BST_CHECKED) {
            m_nGroupRadio = radio;
            break;
        }
    }
    if (const std::string told = m_model ? m_model->CollisionMessage(m_nGroupRadio) : "";
        !told.empty()) {
        ShowParentMessage(GetHwnd(), told, MB_ICONEXCLAMATION);
        return;
    }
    // With no radio checked there is no new value: the caller's stays.
    const std::optional<std::string> value =
        m_model ? m_model->ValueOf(m_nGroupRadio) : std::nullopt;
    if (value) {
        m_strGroup = *value;
    }
    EndDialog(IDOK);
}

}  // namespace zz
