// The text the administrator sends to the running stations. Its OK button
// stays disabled until the text is first edited.
#pragma once

#include <string>

#include "dialog.h"

class CSendMessageDlg : public CDialog {
public:
    explicit CSendMessageDlg(CWnd* parent = nullptr);
    void DoDataExchange(CDataExchange* exchange) override;

    std::string message;
    int edited = 0;

protected:
    void OnTextChange();

    DECLARE_MESSAGE_MAP()
};
