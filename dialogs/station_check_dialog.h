// The state of one station for the station check: its initialisation, its
// launch, the station drivers and a report of what is wrong. OK asks the
// station's driver to reset the station and ends the dialog; the check then
// runs again. On stations of marked boards only a PD-1 board is asked.
#pragma once

#include <cstdint>
#include <string>

#include "dialog.h"

class CStationCheckDlg : public CDialog {
public:
    explicit CStationCheckDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    void OnOK() override;

    int baseInit = 0;
    int mouseInit = 0;
    int launched = 0;
    int keyboardInit = 0;
    std::string report;
    int driversLoaded = 0;
    std::string caption;
    std::string boardName;
    std::string stationName;
    uint32_t ioHandle = 0;

protected:
    // Whether OK sends the station request.
    virtual bool SendsRequest() const { return true; }
};

class CMarkedStationCheckDlg : public CStationCheckDlg {
public:
    using CStationCheckDlg::CStationCheckDlg;

protected:
    bool SendsRequest() const override;
};
