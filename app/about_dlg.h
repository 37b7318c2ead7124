#pragma once
// The about box: program icon, name and version, and OK.

#include "framework/dialog.h"

namespace zz {

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};

}  // namespace zz
