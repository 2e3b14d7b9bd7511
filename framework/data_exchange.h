// Moving a dialog's fields into its controls and back.
#pragma once

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    // A field refused its control's content: the exchange stops and the
    // control gets the focus.
    void Fail(int controlId);
    bool Failed() const { return failed_; }

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;

private:
    bool failed_ = false;
};
