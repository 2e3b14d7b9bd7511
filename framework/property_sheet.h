// Property sheets over the system's own (comctl32) sheet: pages made from
// templates of the resource library, each a dialog with data exchange, and
// a modal sheet with OK, Cancel and Apply.
//
// A page moves its controls into its fields when it is left and when the
// sheet applies; OnApply (by default OnOK) then runs for every page that was
// shown at least once. SetModified makes the sheet's Apply button active.
#pragma once

#include <windows.h>

#include <prsht.h>

#include <string>
#include <vector>

#include "dialog.h"

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);

    // The tab's caption; without one the template's caption shows.
    void SetTitle(const std::string& title) { title_ = title; }

    // Makes the sheet's Apply button active (or takes this page's mark back).
    void SetModified(BOOL changed = TRUE);

    virtual BOOL OnSetActive();
    // Leaving the page: false keeps it (its fields refused their controls).
    virtual BOOL OnKillActive();
    // OK or Apply: false keeps the sheet open on this page.
    virtual BOOL OnApply();
    // Cancel.
    virtual void OnReset();

    // The page's part of OK and Cancel; nothing by default, as the sheet
    // ends itself.
    void OnOK() override;
    void OnCancel() override;

    // The description the system's sheet is built from; valid while the
    // page lives.
    PROPSHEETPAGEA Describe();

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    friend INT_PTR CALLBACK AfxPropPageProc(HWND, UINT, WPARAM, LPARAM);
    std::string title_;
    // Whether the page's last mark was "modified" (cleared by OK and Apply).
    bool modified_ = false;
};

INT_PTR CALLBACK AfxPropPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class CPropertySheet : public CWnd {
public:
    // Caption from the resource library's string table.
    explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);

    // The sheet does not own its pages; they must outlive its run.
    void AddPage(CPropertyPage* page) { pages_.push_back(page); }

    // Runs the sheet: IDOK when it ended with OK, IDCANCEL otherwise, -1 when
    // it could not be shown. A sheet without pages is not shown and counts
    // as cancelled.
    virtual INT_PTR DoModal();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);

    std::string caption_;
    CWnd* parent_;
    UINT selectPage_;
    std::vector<CPropertyPage*> pages_;
    bool endedWithOk_ = false;
};
