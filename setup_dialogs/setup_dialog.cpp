#include "setup_dialog.h"

#include "resource_ids.h"

namespace {

const int kZeltoEditionBoards = 2;

}  // namespace

BEGIN_MESSAGE_MAP(SetupDialog, CDialog)
ON_BN_CLICKED(IDC_SETUP_STATIONS, OnStations)
ON_BN_CLICKED(IDC_SETUP_BOARDS, OnBoards)
END_MESSAGE_MAP()

SetupDialog::SetupDialog(SystemConfig& model, CWnd* parent, bool zeltoEdition)
    : CDialog(IDD_SETUP, parent), model_(model), zeltoEdition_(zeltoEdition) {}

// Each sheet writes back every board and detected station on OK, so it
// starts from the registry as it is now: the station side changes values
// ("Launched", "Logged In User") while the control center runs.
void SetupDialog::OnStations() {
    model_.LoadAll();
    CStationSheet sheet(IDS_STATION_SHEET, this);
    if (!model_.AnyBoardHasModelMarker()) return;
    for (int i = 0; i < SystemConfig::kStationCount; ++i) {
        if (!model_.StationBoardHasModelMarker(i)) continue;
        stationPages[i] = std::make_unique<CStationPage>(model_, i);
        // A station that was not found keeps its page out of the sheet.
        if (model_.stations[i].detected) sheet.AddPage(stationPages[i].get());
    }
    sheet.DoModal();
    for (auto& page : stationPages) page.reset();
}

void SetupDialog::OnBoards() {
    model_.LoadAll();
    CBoardSheet sheet(IDS_BOARD_SHEET, this);
    int offered = zeltoEdition_ ? kZeltoEditionBoards : SystemConfig::kBoardCount;
    for (int i = 0; i < offered; ++i) {
        if (!model_.BoardHasModelMarker(i)) continue;
        boardPages[i] = std::make_unique<CBoardPage>(model_, i, zeltoEdition_);
        sheet.AddPage(boardPages[i].get());
    }
    sheet.DoModal();
    for (auto& page : boardPages) page.reset();
}
