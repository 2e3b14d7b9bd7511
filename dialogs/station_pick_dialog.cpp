#include "station_pick_dialog.h"

#include <string>

#include "resource_ids.h"
#include "resources.h"

BEGIN_MESSAGE_MAP(CStationPickDlg, CDialog)
ON_COMMAND_RANGE(IDC_PICK_STATION1, IDC_PICK_STATION4, OnPick)
END_MESSAGE_MAP()

CStationPickDlg::CStationPickDlg(SystemConfig& config, int pickMode, CWnd* parent)
    : CDialog(IDD_STATION_PICK, parent), mode(pickMode), config_(config) {}

BOOL CStationPickDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const UINT titles[] = {IDS_PICK_LAUNCH_TITLE, IDS_PICK_STOP_TITLE, IDS_PICK_ANY_TITLE};
    std::string title = mode >= 0 && mode <= 2 ? AfxLoadString(titles[mode]) : std::string();
    SetWindowTextA(m_hWnd, title.c_str());

    const std::string defaultName = AfxLoadString(IDS_DEFAULT_STATION_NAME);
    const std::string defaultButton = AfxLoadString(IDS_DEFAULT_STATION_BUTTON);
    // Only the first four stations have a button.
    for (int number = 1; number <= 4; ++number) {
        const StationConfig& station = config_.stations[number - 1];
        std::string text = station.stationName == AfxFormat(defaultName.c_str(), number)
                               ? AfxFormat(defaultButton.c_str(), number)
                               : AfxFormat("&%d: %s", number, station.stationName.c_str());
        HWND button = GetDlgItem(IDC_PICK_STATION_BASE + number);
        SetWindowTextA(button, text.c_str());
        EnableWindow(button, FALSE);
        bool enabled = station.detected &&
                       (mode == kAny || (mode == kLaunch && !station.launched) || (mode == kStop && station.launched));
        EnableWindow(button, enabled);
    }
    return TRUE;
}

void CStationPickDlg::OnPick(UINT id) {
    picked = static_cast<int>(id) - IDC_PICK_STATION1;
    EndDialog(IDOK);
}
