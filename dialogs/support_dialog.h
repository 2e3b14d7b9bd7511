// The support dialog: the support text and buttons that open the web and
// mail addresses.
#pragma once

#include <string>

#include "dialog.h"

class CSupportDlg : public CDialog {
public:
    explicit CSupportDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

    std::string text;

protected:
    void OnWeb();
    void OnMail();

    DECLARE_MESSAGE_MAP()
};
