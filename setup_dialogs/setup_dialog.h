// The setup dialog of marked systems: one button for the station sheet, one
// for the board sheet. Each sheet edits the model it is given and writes it
// to the registry on OK and Apply.
#pragma once

#include <memory>

#include "board_page.h"
#include "dialog.h"
#include "program_edition.h"
#include "station_page.h"
#include "system_config.h"

class SetupDialog : public CDialog {
public:
    // zeltoEdition: the two-board edition offers boards 1 and 2 only.
    SetupDialog(SystemConfig& model, CWnd* parent = nullptr, bool zeltoEdition = RunsAsZeltoEdition());

    // The pages of the sheet that is open; all null between runs.
    std::unique_ptr<CStationPage> stationPages[SystemConfig::kStationCount];
    std::unique_ptr<CBoardPage> boardPages[SystemConfig::kBoardCount];

protected:
    void OnStations();
    void OnBoards();

    SystemConfig& model_;
    bool zeltoEdition_;

    DECLARE_MESSAGE_MAP()
};
