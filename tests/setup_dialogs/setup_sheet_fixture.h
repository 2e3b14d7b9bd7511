// Runs the setup dialog as the control center does and hands the sheet that
// one of its buttons opens to the test, which works the real controls
// through real messages. The model's registry branch is emptied before each
// test and kept across the suite.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "model_fixture.h"
#include "program_driver.h"
#include "resource_ids.h"
#include "seams.h"
#include "setup_dialog.h"
#include "sheet_tabs.h"

struct ShownBox {
    std::string text;
    UINT style;
};

class SetupSheetTest : public ModelTest {
protected:
    // The sheet's Apply button, as the system numbers it.
    static const int kApplyButton = 0x3021;

    void SetUp() override {
        ModelTest::SetUp();
        AfxSetMessageBoxHandler([this](HWND, const std::string& text, const std::string&, UINT style) {
            boxes_.push_back({text, style});
            return IDOK;
        });
    }
    void TearDown() override {
        AfxSetMessageBoxHandler(nullptr);
        AfxSetModalOperator(nullptr);
    }

    // Opens the setup dialog, presses the button and lets work operate the
    // sheet; false when no sheet was shown.
    bool RunSheet(SystemConfig& model, bool zeltoEdition, int button, const std::function<void(HWND sheet)>& work) {
        bool shown = false;
        SetupDialog dialog(model, nullptr, zeltoEdition);
        AfxSetModalOperator([&](HWND window) {
            if (::GetDlgItem(window, IDC_SETUP_BOARDS)) {
                SendDlgItemMessageA(window, button, BM_CLICK, 0, 0);
                SendDlgItemMessageA(window, IDOK, BM_CLICK, 0, 0);
                return;
            }
            if (::GetDlgItem(window, IDC_PRINTER_MODE_NORMAL)) {
                if (modeDialog_)
                    modeDialog_(window);
                else
                    SendDlgItemMessageA(window, IDCANCEL, BM_CLICK, 0, 0);
                return;
            }
            shown = true;
            running_ = &dialog;
            work(window);
            running_ = nullptr;
        });
        dialog.DoModal();
        AfxSetModalOperator(nullptr);
        return shown;
    }

    static std::vector<std::string> Tabs(HWND sheet) { return test_support::SheetTabs(sheet); }
    // Lets the sheet handle what is still queued for it, as it does before
    // the user can act.
    static void Settle() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    static HWND CurrentPage(HWND sheet) {
        return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    static void ShowPage(HWND sheet, int index) { SendMessageA(sheet, PSM_SETCURSEL, index, 0); }
    static bool Enabled(HWND window, int id) { return IsWindowEnabled(::GetDlgItem(window, id)); }
    // Types into an edit box as the user would: the box tells its page.
    static void Type(HWND page, int id, const std::string& text) { SetDlgItemTextA(page, id, text.c_str()); }

    std::vector<ShownBox> boxes_;
    // The setup dialog while its sheet is open.
    SetupDialog* running_ = nullptr;
    // Works the printer mode dialog when a page opens it; without it the
    // dialog is cancelled.
    std::function<void(HWND dialog)> modeDialog_;
};
