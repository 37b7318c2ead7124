#include "dialogs/win32/order_dlg.h"

#include <utility>

#include "dialogs/order_model.h"
#include "dialogs/win32/list_box.h"
#include "dialogs/win32/parent_message.h"
#include "resources/dialog_ids.h"

namespace zz {

COrderDlg::COrderDlg(std::string programFolder, IFileSystem& fs)
    : CDialog(IDD_ORDER), m_programFolder(std::move(programFolder)), m_fs(fs) {}

BOOL COrderDlg::OnInitDialog() {
    HWND list = GetItem(IDC_ORDER_LIST);
    m_lstOrder.Attach(list);
    m_listing =
        BuildOrderList(m_fs, m_programFolder, m_strGroup, m_nMaxCount, m_arrOrder, m_encoding);
    for (const std::string& row : m_listing.rows) {
        AddListRow(list, row);
    }
    SelectListRow(list, 0);
    SetFocus(list);
    return FALSE;  // the focus is set
}

void COrderDlg::OnOK() {
    HWND list = GetItem(IDC_ORDER_LIST);
    std::vector<std::string> rows;
    for (int i = 0; i < ListRowCount(list); ++i) {
        rows.push_back(ListRowText(list, i));
    }
    // Stored so, two of them would take one place: the parent renames one first.
    if (const std::string told = OrderCollisionMessage(rows, m_encoding); !told.empty()) {
        ShowParentMessage(GetHwnd(), told, MB_ICONEXCLAMATION);
        return;
    }
    m_arrOrder = MergeOrder(m_arrOrder, m_listing, rows);
    EndDialog(IDOK);
}

}  // namespace zz
