// What identifies a station and how it starts: the settings dialog for one
// station of several, and the one of a single-station system, which also
// holds the system-wide automatic launch and shutdown (there they are the
// station's own).
#pragma once

#include <string>

#include "dialog.h"
#include "system_config.h"

class CStationSettingsDlg : public CDialog {
public:
    explicit CStationSettingsDlg(CWnd* parent = nullptr);
    void DoDataExchange(CDataExchange* exchange) override;

    // The station's own model and index: a name another station has is
    // refused. Without a model any name goes.
    const SystemConfig* model = nullptr;
    int stationIndex = -1;
    std::string stationName;
    std::string defaultUser;
    int autoLaunch = 0;
};

class CSingleStationSettingsDlg : public CDialog {
public:
    explicit CSingleStationSettingsDlg(CWnd* parent = nullptr);
    void DoDataExchange(CDataExchange* exchange) override;

    std::string defaultUser;
    int autoLaunch = 0;
    int shutdown = 0;
};
