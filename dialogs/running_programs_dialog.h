// The tree of the launched stations with their tasks and programs.
#pragma once

#include "dialog.h"

class CRunningProgramsDlg : public CDialog {
public:
    explicit CRunningProgramsDlg(CWnd* parent = nullptr);
};
