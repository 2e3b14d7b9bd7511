// Moving a dialog's fields into its controls and back: the exchange object
// that a dialog's DoDataExchange receives, and the exchange and validation
// routines for text, numbers, check boxes, radio groups, combo and list
// boxes. A routine that refuses a control's content says why in the
// framework's words, gives the control the focus and ends the exchange.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // The control the next validation applies to; its window.
    HWND PrepareCtrl(int controlId);
    HWND PrepareEditCtrl(int controlId);
    // A field refused the last control's content: the exchange stops and
    // the control gets the focus (an edit box with its text selected).
    void Fail();
    bool Failed() const { return failed_; }

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    int m_idLastControl = 0;
    bool m_bEditLastControl = false;

private:
    bool failed_ = false;
};

void DDX_Text(CDataExchange* exchange, int controlId, std::string& value);
void DDX_Text(CDataExchange* exchange, int controlId, int& value);
// At most count characters: typing stops there, and a longer text fails.
void DDV_MaxChars(CDataExchange* exchange, const std::string& value, int count);
// Checked (1), unchecked (0) or, for three-state boxes, indeterminate (2).
void DDX_Check(CDataExchange* exchange, int controlId, int& value);
// The index of the checked button of the group that starts at the control;
// -1 when none is checked.
void DDX_Radio(CDataExchange* exchange, int controlId, int& value);
void DDX_CBIndex(CDataExchange* exchange, int controlId, int& index);
// The combo box's text; when loading, the item that begins with it is
// chosen (an empty text leaves the choice as it is).
void DDX_CBString(CDataExchange* exchange, int controlId, std::string& value);
void DDX_LBIndex(CDataExchange* exchange, int controlId, int& index);
// The selected item's text (empty when none is selected); when loading, the
// item that begins with it is chosen (an empty text leaves the choice).
void DDX_LBString(CDataExchange* exchange, int controlId, std::string& value);
