// The three windows of the shutdown command: the choice between shutting
// down and restarting, the progress window that stays up while the command
// works, and the final confirmation, which confirms by itself half a second
// after it opens unless it is cancelled first.
#pragma once

#include "dialog.h"

class CShutdownDlg : public CDialog {
public:
    explicit CShutdownDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;

    int choice = 0;  // 1 shut down, 2 restart, 0 neither checked
};

class CProgressWnd : public CDialog {
public:
    CProgressWnd();
    // Creates, centres (on the main window without a parent) and shows it.
    BOOL CreateModeless(CWnd* parent = nullptr);
    // Shows the text at once: the command that owns the window lets no
    // messages through while it waits.
    void SetText(UINT stringId);
};

class CShutdownConfirmDlg : public CDialog {
public:
    explicit CShutdownConfirmDlg(int choice, CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    UINT_PTR timerId = 0;
    int choice;

protected:
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
