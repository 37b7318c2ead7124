#include "dialogs/win32/order_dlg.h"

#include <utility>

#include "dialogs/order_model.h"
#include "dialogs/win32/list_box.h"
#include "resources/dialog_ids.h"

namespace zz {

COrderDlg::COrderDlg(std::string programFolder, IFileSystem& fs)
    : CDialog(IDD_ORDER), m_programFolder(std::move(programFolder)), m_fs(fs) {}

BOOL COrderDlg::OnInitDialog() {
    HWND list = GetItem(IDC_ORDER_LIST);
    m_lstOrder.Attach(list);
    const std::vector<std::string> rows =
        BuildOrderList(m_fs, m_programFolder, m_strGroup, m_nMaxCount, m_arrOrder);
    for (const std::string& row : rows) {
        AddListRow(list, row);
    }
    SelectListRow(list, 0);
    SetFocus(list);
    return FALSE;  // the focus is set
}

void COrderDlg::OnOK() {
    HWND list = GetItem(IDC_ORDER_LIST);
    const int count = ListRowCount(list);
    m_arrOrder.clear();
    for (int i = 0; i < count; ++i) {
        m_arrOrder.push_back(ListRowText(list, i));
    }
    EndDialog(IDOK);
}

}  // namespace zz
