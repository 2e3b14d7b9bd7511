#include "user_list_dialog.h"

#include "config_messages.h"
#include "data_exchange.h"
#include "registry_key.h"
#include "resource_ids.h"

namespace {

const char kProfileList[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList";

// Lists the profile names in the registry's order; false (after saying so)
// when there is none, so the dialog ends.
bool FillUserList(HWND list) {
    HKEY profiles = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_READ, &profiles) == ERROR_SUCCESS) {
        char name[260] = {};
        for (DWORD index = 0; RegEnumKeyA(profiles, index, name, sizeof name - 1) == ERROR_SUCCESS; ++index)
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        RegCloseKey(profiles);
    }
    if (::SendMessageA(list, LB_GETCOUNT, 0, 0) > 0) {
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return true;
    }
    ShowAppMessageId(IDS_NO_USER_PROFILES, MB_OK);
    return false;
}

}  // namespace

BEGIN_MESSAGE_MAP(CUserPickDlg, CDialog)
ON_LBN_SELCHANGE(IDC_USER_PICK_LIST, OnSelectionChange)
END_MESSAGE_MAP()

CUserPickDlg::CUserPickDlg(CWnd* parent) : CDialog(IDD_USER_PICK, parent) {}

BOOL CUserPickDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!FillUserList(GetDlgItem(IDC_USER_PICK_LIST))) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    // Nothing is picked until the administrator picks.
    EnableWindow(GetDlgItem(IDOK), FALSE);
    return TRUE;
}

void CUserPickDlg::DoDataExchange(CDataExchange* exchange) {
    DDX_LBString(exchange, IDC_USER_PICK_LIST, userName);
}

void CUserPickDlg::OnSelectionChange() {
    EnableWindow(GetDlgItem(IDOK), TRUE);
}

CUserListDlg::CUserListDlg(CWnd* parent) : CDialog(IDD_USER_LIST, parent) {}

BOOL CUserListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!FillUserList(GetDlgItem(IDC_USER_LIST))) EndDialog(IDCANCEL);
    return TRUE;
}

void CUserListDlg::DoDataExchange(CDataExchange* exchange) {
    DDX_LBString(exchange, IDC_USER_LIST, userName);
}
