// The list of the users who have a profile on the host.
#pragma once

#include "dialog.h"

class CUserListDlg : public CDialog {
public:
    explicit CUserListDlg(CWnd* parent = nullptr);
};
