#include "launch_station_dialog.h"

#include "application.h"
#include "data_exchange.h"
#include "resource_ids.h"

namespace {

const int kNameLimit = 31;  // what the driver's launch record holds

}  // namespace

BEGIN_MESSAGE_MAP(CLaunchStationDlg, CDialog)
ON_CBN_SELCHANGE(IDC_LAUNCH_STATION, OnSelectionChange)
END_MESSAGE_MAP()

CLaunchStationDlg::CLaunchStationDlg(SystemConfig& config, CWnd* parent)
    : CDialog(IDD_LAUNCH_STATION, parent), config_(config) {}

BOOL CLaunchStationDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND stations = GetDlgItem(IDC_LAUNCH_STATION);
    int added = 0;
    for (StationConfig& each : config_.stations) {
        if (!each.detected || each.launched) continue;
        LRESULT item =
            ::SendMessageA(stations, CB_INSERTSTRING, added, reinterpret_cast<LPARAM>(each.stationName.c_str()));
        if (item >= 0) ::SendMessageA(stations, CB_SETITEMDATA, item, reinterpret_cast<LPARAM>(&each));
        if (added == 0) {
            SetWindowTextA(GetDlgItem(IDC_LAUNCH_USER), each.defaultUser.c_str());
            station = &each;
        }
        ++added;
    }
    if (added > 0) {
        ::SendMessageA(stations, CB_SETCURSEL, 0, 0);
    } else {
        AfxMessageBox(IDS_NOTHING_TO_LAUNCH, MB_OK);
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

void CLaunchStationDlg::OnSelectionChange() {
    HWND stations = GetDlgItem(IDC_LAUNCH_STATION);
    LRESULT selected = ::SendMessageA(stations, CB_GETCURSEL, 0, 0);
    if (selected < 0) return;
    station = reinterpret_cast<StationConfig*>(::SendMessageA(stations, CB_GETITEMDATA, selected, 0));
    if (station) SetWindowTextA(GetDlgItem(IDC_LAUNCH_USER), station->defaultUser.c_str());
}

void CLaunchStationDlg::DoDataExchange(CDataExchange* exchange) {
    DDX_CBString(exchange, IDC_LAUNCH_STATION, stationText);
    DDV_MaxChars(exchange, stationText, kNameLimit);
    DDX_Text(exchange, IDC_LAUNCH_USER, userName);
    DDV_MaxChars(exchange, userName, kNameLimit);
}
