#include "dialogs/win32/reorder_list_box.h"

#include "dialogs/win32/list_box.h"

namespace zz {

LRESULT CReorderListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        MoveSelection(m_keys.OnKeyDown(static_cast<unsigned>(wParam)));
    } else if (message == WM_KEYUP) {
        m_keys.OnKeyUp(static_cast<unsigned>(wParam));
    }
    // The list's own arrow handling runs after a move as well and carries the selection to
    // the moved row.
    return Default(message, wParam, lParam);
}

void CReorderListBox::MoveSelection(OrderMove move) {
    if (move == OrderMove::kNone) {
        return;
    }
    HWND list = GetHwnd();
    const int selected = ListSelection(list);
    const int target = OrderMoveTarget(selected, ListRowCount(list), move);
    if (target < 0) {
        return;
    }
    const std::string text = ListRowText(list, selected);
    DeleteListRow(list, selected);
    InsertListRow(list, target, text);
    SelectListRow(list, selected);
}

}  // namespace zz
