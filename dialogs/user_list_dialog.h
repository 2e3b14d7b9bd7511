// The users who have a profile on this PC: a list to look at, and a list to
// pick the user to remove from. Without any profile neither dialog appears;
// a message says so instead.
#pragma once

#include <string>

#include "dialog.h"

class CUserPickDlg : public CDialog {
public:
    explicit CUserPickDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

    std::string userName;

protected:
    void OnSelectionChange();

    DECLARE_MESSAGE_MAP()
};

class CUserListDlg : public CDialog {
public:
    explicit CUserListDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

    std::string userName;
};
