#include "app/about_dlg.h"

#include "resources/resource.h"

namespace zz {

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

}  // namespace zz
