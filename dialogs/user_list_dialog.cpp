#include "user_list_dialog.h"

#include "resource_ids.h"

CUserListDlg::CUserListDlg(CWnd* parent) : CDialog(IDD_USER_LIST, parent) {}
