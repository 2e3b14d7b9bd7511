// The row of four station buttons through which the launch, stop, check and
// settings commands ask which station to act on.
#pragma once

#include "dialog.h"
#include "system_config.h"

class CStationPickDlg : public CDialog {
public:
    enum Mode { kLaunch = 0, kStop = 1, kAny = 2 };
    CStationPickDlg(SystemConfig& config, int mode, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

    int mode;
    int picked = 0;  // the picked button's index, 0 to 3

protected:
    void OnPick(UINT id);
    SystemConfig& config_;

    DECLARE_MESSAGE_MAP()
};
