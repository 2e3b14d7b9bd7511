// Dialogs made from templates of the resource library: modal runs (with the
// test operator seam) and modeless windows.
#pragma once

#include "window.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : templateId_(templateId), parent_(parent) {}

    // Runs the dialog until it ends; the result it ended with, or -1 when it
    // could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog without waiting (for modeless windows).
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(INT_PTR result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // Moves fields into controls (saveAndValidate false) or back; false when
    // a field refused its control's content.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* exchange);

protected:
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    UINT templateId_;
    CWnd* parent_;
    bool modal_ = false;

    DECLARE_MESSAGE_MAP()
};

INT_PTR CALLBACK AfxDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
