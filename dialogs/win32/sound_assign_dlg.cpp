#include "dialogs/win32/sound_assign_dlg.h"

#include "dialogs/sound_assign_model.h"
#include "dialogs/win32/list_box.h"
#include "dialogs/win32/parent_message.h"
#include "framework/dialog.h"
#include "framework/message_box.h"
#include "framework/module.h"
#include "framework/unicode.h"
#include "resources/dialog_ids.h"

namespace zz {

namespace {

class CSoundAssignDlg : public CDialog {
public:
    explicit CSoundAssignDlg(const SoundAssignRequest& request)
        : CDialog(IDD_SOUND_ASSIGN),
          m_model(SystemFileSystem(), request.programFolder, request.maxCount) {}

    const SoundAssignModel& Model() const { return m_model; }

protected:
    BOOL OnInitDialog() override {
        HWND pictures = GetItem(IDC_PICTURE_LIST);
        HWND sounds = GetItem(IDC_SOUND_LIST);
        AddListRow(sounds, RandomText());
        for (const std::string& sound : m_model.Sounds()) {
            AddListRow(sounds, sound);
        }
        for (size_t i = 0; i < m_model.PictureNames().size(); ++i) {
            AddListRow(pictures, PictureRow(i));
        }
        SelectListRow(pictures, 0);
        SelectListRow(sounds, 0);
        return TRUE;
    }

    bool OnCommand(UINT id, UINT code, HWND) override {
        if (id == IDC_ASSIGN && code == BN_CLICKED) {
            OnAssign();
            return true;
        }
        return false;
    }

private:
    static std::string RandomText() { return Narrow(LoadResourceString(IDS_RANDOM_SOUND)); }

    // "name = sound", as the list shows a picture.
    std::string PictureRow(size_t picture) const {
        return m_model.PictureNames()[picture] + " = " +
               m_model.SoundOf(picture).value_or(RandomText());
    }

    void OnAssign() {
        HWND pictures = GetItem(IDC_PICTURE_LIST);
        const int picture = ListSelection(pictures);
        AssignOutcome outcome = m_model.Assign(picture, ListSelection(GetItem(IDC_SOUND_LIST)));
        if (outcome.refusal != KeyRefusal::kNone) {
            const UINT textId = outcome.refusal == KeyRefusal::kHasEquals
                                    ? IDS_SOUND_NAME_HAS_EQUALS
                                    : IDS_SOUND_NAME_STARTS_WITH_BRACKET;
            ShowMessage(GetHwnd(), textId,
                        Widen(m_model.PictureNames()[static_cast<size_t>(picture)]));
            return;
        }
        if (!outcome.assigned) {
            MessageBeep(MB_OK);  // nothing to pair; a beep is all, and its failure does not matter
            return;
        }
        std::vector<std::string> sharing = {m_model.PictureNames()[static_cast<size_t>(picture)]};
        for (const size_t row : outcome.alsoChanged) {
            sharing.push_back(m_model.PictureNames()[row]);
        }
        outcome.alsoChanged.push_back(static_cast<size_t>(picture));
        for (const size_t row : outcome.alsoChanged) {
            DeleteListRow(pictures, static_cast<int>(row));
            InsertListRow(pictures, static_cast<int>(row), PictureRow(row));
        }
        SelectListRow(pictures, picture);
        if (sharing.size() > 1) {
            ShowNamesMessage(GetHwnd(), IDS_PICTURES_SHARE_A_SOUND, sharing,
                             MB_OK | MB_ICONINFORMATION);
        }
    }

    SoundAssignModel m_model;
};

}  // namespace

std::optional<SoundAssignResult> RunSoundAssignDialog(HWND owner,
                                                      const SoundAssignRequest& request) {
    CSoundAssignDlg dialog(request);
    if (dialog.DoModal(owner) != IDOK) {
        return std::nullopt;
    }
    return SoundAssignResult{dialog.Model().PictureNames(), dialog.Model().Assignments()};
}

}  // namespace zz
