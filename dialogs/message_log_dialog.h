// The station message log.
#pragma once

#include "dialog.h"

class CMessageLogDlg : public CDialog {
public:
    CMessageLogDlg();
};
