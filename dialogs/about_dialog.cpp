#include "about_dialog.h"

#include "resource_ids.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}
