// The printer mode of a station's printer port: two radio buttons, mode 0
// or 1.
#pragma once

#include "dialog.h"

class CPrinterModeDlg : public CDialog {
public:
    explicit CPrinterModeDlg(int mode, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    int mode;
};
