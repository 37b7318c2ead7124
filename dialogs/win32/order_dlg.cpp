#include "dialogs/win32/order_dlg.h"

#include "dialogs/order_model.h"
#include "dialogs/win32/list_box.h"
#include "dialogs/win32/parent_message.h"
#include "dialogs/win32/reorder_list_box.h"
#include "framework/dialog.h"
#include "resources/dialog_ids.h"

namespace zz {

namespace {

class COrderDlg : public CDialog {
public:
    explicit COrderDlg(const OrderDialogRequest& request)
        : CDialog(IDD_ORDER), m_request(request) {}

    std::optional<std::vector<std::string>> m_order;

protected:
    BOOL OnInitDialog() override {
        HWND list = GetItem(IDC_ORDER_LIST);
        m_orderList.Attach(list);
        m_listing = BuildOrderList(SystemFileSystem(), m_request.programFolder, m_request.group,
                                   m_request.maxCount, m_request.order, m_request.encoding);
        for (const std::string& row : m_listing.rows) {
            AddListRow(list, row);
        }
        SelectListRow(list, 0);
        SetFocus(list);
        return FALSE;  // the focus is set
    }

    void OnOK() override {
        HWND list = GetItem(IDC_ORDER_LIST);
        std::vector<std::string> rows;
        for (int i = 0; i < ListRowCount(list); ++i) {
            rows.push_back(ListRowText(list, i));
        }
        // Stored so, two of them would take one place: the parent renames one first.
        if (const auto sharing = OrderCollisions(rows, m_request.encoding); !sharing.empty()) {
            ShowNamesMessage(GetHwnd(), IDS_PICTURES_SHARE_AN_ORDER_NAME, sharing,
                             MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        m_order = MergeOrder(m_request.order, m_listing, rows);
        EndDialog(IDOK);
    }

private:
    const OrderDialogRequest& m_request;
    CReorderListBox m_orderList;
    OrderListing m_listing;
};

}  // namespace

std::optional<std::vector<std::string>> RunOrderDialog(HWND owner,
                                                       const OrderDialogRequest& request) {
    COrderDlg dialog(request);
    dialog.DoModal(owner);
    return dialog.m_order;
}

}  // namespace zz
