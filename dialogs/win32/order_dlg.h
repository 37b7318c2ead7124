#pragma once
// The image order dialog: the stored order with the pictures not in it yet, rearranged with
// Ctrl and the arrow keys.

#include <string>
#include <vector>

#include "dialogs/order_model.h"
#include "dialogs/win32/reorder_list_box.h"
#include "framework/dialog.h"
#include "settings/file_system.h"

namespace zz {

class COrderDlg : public CDialog {
public:
    explicit COrderDlg(std::string programFolder = ProgramFolder(),
                       IFileSystem& fs = SystemFileSystem());

    // Set by the caller: the group value, the walk's limit, the stored order and the settings
    // file's encoding. After OK m_arrOrder holds the list top to bottom in the places of the
    // entries it showed, other groups' entries kept; after Escape it is left as it was.
    std::string m_strGroup;
    int m_nMaxCount = 0;
    std::vector<std::string> m_arrOrder;
    TextEncoding m_encoding = TextEncoding::kCp932;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string m_programFolder;
    IFileSystem& m_fs;
    CReorderListBox m_lstOrder;
    OrderListing m_listing;
};

}  // namespace zz
