#pragma once
// The start-up group picker: ten buttons laid out as a numeric keypad, one per group found,
// chosen with the mouse or a single digit key.

#include <array>
#include <optional>
#include <string>

#include "dialogs/group_choice.h"
#include "framework/dialog.h"
#include "settings/file_system.h"

namespace zz {

class CGroupPickDlg : public CDialog {
public:
    explicit CGroupPickDlg(std::string programFolder = ProgramFolder(),
                           IFileSystem& fs = SystemFileSystem());

    // The picked group's name; empty when the dialog was closed without a choice.
    std::string m_strGroup;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool PreTranslateMessage(MSG& msg) override;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // True when key was a digit, whether or not its button could be chosen.
    bool OnDigitKey(WPARAM key);
    void Choose(int button);

    std::string m_programFolder;
    IFileSystem& m_fs;
    std::optional<GroupPickModel> m_model;
    std::array<HWND, kPickButtonCount> m_pGroupButtons{};
};

}  // namespace zz
