// The list of running stations from which the stop command of a marked
// system picks one.
#pragma once

#include "dialog.h"
#include "system_config.h"

class CStopPickDlg : public CDialog {
public:
    explicit CStopPickDlg(SystemConfig& config, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    int station = 0;  // the picked station's index

protected:
    void OnSelectionChange();
    SystemConfig& config_;

    DECLARE_MESSAGE_MAP()
};
