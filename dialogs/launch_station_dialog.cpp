#include "launch_station_dialog.h"

#include "application.h"
#include "resource_ids.h"

namespace {

const int kNameLimit = 31;  // what the driver's launch record holds

std::string ItemText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CLaunchStationDlg, CDialog)
ON_CBN_SELCHANGE(IDC_LAUNCH_STATION, OnSelectionChange)
END_MESSAGE_MAP()

CLaunchStationDlg::CLaunchStationDlg(SystemConfig& config, CWnd* parent)
    : CDialog(IDD_LAUNCH_STATION, parent), config_(config) {}

BOOL CLaunchStationDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND stations = GetDlgItem(IDC_LAUNCH_STATION);
    ::SendMessageA(GetDlgItem(IDC_LAUNCH_USER), EM_LIMITTEXT, kNameLimit, 0);
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

void CLaunchStationDlg::OnOK() {
    stationText = ItemText(GetDlgItem(IDC_LAUNCH_STATION));
    userName = ItemText(GetDlgItem(IDC_LAUNCH_USER));
    // Longer names do not fit the driver's record; the dialog stays open.
    for (auto [text, id] : {std::pair{&stationText, IDC_LAUNCH_STATION}, std::pair{&userName, IDC_LAUNCH_USER}}) {
        if (text->size() > static_cast<size_t>(kNameLimit)) {
            AfxMessageBox(("Please enter no more than " + std::to_string(kNameLimit) + " characters.").c_str(),
                          MB_OK | MB_ICONEXCLAMATION);
            SetFocus(GetDlgItem(id));
            return;
        }
    }
    EndDialog(IDOK);
}
