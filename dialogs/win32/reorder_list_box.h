#pragma once
// A list box that moves its selected row one place up or down on Ctrl+Up and Ctrl+Down.

#include "dialogs/order_model.h"
#include "dialogs/win32/subclassed_control.h"

namespace zz {

class CReorderListBox : public CSubclassedControl {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MoveSelection(OrderMove move);

    // Ctrl as this list box sees it: only its own key messages count.
    ReorderKeys m_keys;
};

}  // namespace zz
