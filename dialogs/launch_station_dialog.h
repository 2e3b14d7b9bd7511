// The launch dialog of marked systems: a station that is not running and
// the user to launch it for.
#pragma once

#include <string>

#include "dialog.h"
#include "system_config.h"

class CLaunchStationDlg : public CDialog {
public:
    explicit CLaunchStationDlg(SystemConfig& config, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

    std::string stationText;
    std::string userName;
    StationConfig* station = nullptr;

protected:
    void OnSelectionChange();
    SystemConfig& config_;

    DECLARE_MESSAGE_MAP()
};
