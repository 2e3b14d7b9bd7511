#include "stop_pick_dialog.h"

#include "application.h"
#include "resource_ids.h"

BEGIN_MESSAGE_MAP(CStopPickDlg, CDialog)
ON_LBN_SELCHANGE(IDC_STOP_PICK_LIST, OnSelectionChange)
END_MESSAGE_MAP()

CStopPickDlg::CStopPickDlg(SystemConfig& config, CWnd* parent) : CDialog(IDD_STOP_PICK, parent), config_(config) {}

BOOL CStopPickDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = GetDlgItem(IDC_STOP_PICK_LIST);
    for (const StationConfig& each : config_.stations) {
        if (!each.detected || !each.launched) continue;
        LRESULT item = ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(each.stationName.c_str()));
        if (item >= 0) ::SendMessageA(list, LB_SETITEMDATA, item, each.index);
    }
    if (::SendMessageA(list, LB_GETCOUNT, 0, 0) > 0) {
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    } else {
        AfxMessageBox(IDS_NOTHING_TO_STOP, MB_OK);
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

void CStopPickDlg::OnSelectionChange() {
    EnableWindow(GetDlgItem(IDOK), TRUE);
}

void CStopPickDlg::OnOK() {
    HWND list = GetDlgItem(IDC_STOP_PICK_LIST);
    LRESULT selected = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    station = selected >= 0 ? static_cast<int>(::SendMessageA(list, LB_GETITEMDATA, selected, 0)) : 0;
    EndDialog(IDOK);
}
