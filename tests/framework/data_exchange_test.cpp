// The framework's data exchange on real dialogs from the resource library:
// fields into controls when the dialog opens, back when OK is pressed, and
// the framework's own words when a control's content is refused (the
// dialog then stays open with that control focused).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "data_exchange.h"
#include "dialog.h"
#include "program_driver.h"
#include "resource_ids.h"
#include "resource_library_suite.h"
#include "resources.h"
#include "seams.h"

namespace {

struct Shown {
    std::string text;
    UINT style;
};

class DataExchange : public test_support::ResourceLibrarySuite {
protected:
    void SetUp() override {
        ResourceLibrarySuite::SetUp();
        AfxSetMessageBoxHandler([this](HWND, const std::string& text, const std::string&, UINT style) {
            shown_.push_back({text, style});
            return IDOK;
        });
    }
    void TearDown() override {
        AfxSetMessageBoxHandler(nullptr);
        AfxSetModalOperator(nullptr);
    }

    // Runs the dialog: the operator works it once it is initialised.
    static INT_PTR Run(CDialog& dialog, const std::function<void(HWND)>& operate) {
        AfxSetModalOperator(operate);
        return dialog.DoModal();
    }

    std::vector<Shown> shown_;
};

// The launch dialog's user name as text of at most five characters, and as
// a number.
class NameDialog : public CDialog {
public:
    NameDialog() : CDialog(IDD_LAUNCH_STATION) {}
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Text(exchange, IDC_LAUNCH_USER, name);
        DDV_MaxChars(exchange, name, 5);
        exchangesAfterName = true;
    }
    std::string name = "abc";
    bool exchangesAfterName = false;
};

TEST_F(DataExchange, TextGoesInLimitedAndComesBackOnOk) {
    NameDialog dialog;
    std::string shownText;
    LRESULT limit = 0;
    EXPECT_EQ(Run(dialog,
                  [&](HWND window) {
                      shownText = test_support::ItemText(window, IDC_LAUNCH_USER);
                      limit = SendDlgItemMessageA(window, IDC_LAUNCH_USER, EM_GETLIMITTEXT, 0, 0);
                      SetDlgItemTextA(window, IDC_LAUNCH_USER, "mwfive");
                      SetDlgItemTextA(window, IDC_LAUNCH_USER, "mwfiv");
                      test_support::Click(window, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(shownText, "abc");
    EXPECT_EQ(limit, 5);
    EXPECT_EQ(dialog.name, "mwfiv");
    EXPECT_TRUE(shown_.empty());
}

TEST_F(DataExchange, ATextTooLongIsRefusedInTheFrameworksWordsAndTheDialogStays) {
    NameDialog dialog;
    bool stayed = false;
    HWND focused = nullptr, edit = nullptr;
    EXPECT_EQ(Run(dialog,
                  [&](HWND window) {
                      edit = GetDlgItem(window, IDC_LAUNCH_USER);
                      // Placed there by the program, not typed: no limit applies.
                      SetWindowTextA(edit, "sixsix");
                      test_support::Click(window, IDOK);
                      stayed = IsWindow(window) != FALSE;
                      focused = GetFocus();
                      test_support::Click(window, IDCANCEL);
                  }),
              IDCANCEL);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(focused, edit);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, "Please enter no more than 5 characters.");
    EXPECT_EQ(shown_[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(dialog.name, "sixsix") << "read before it was refused";
}

class NumberDialog : public CDialog {
public:
    NumberDialog() : CDialog(IDD_LAUNCH_STATION) {}
    void DoDataExchange(CDataExchange* exchange) override { DDX_Text(exchange, IDC_LAUNCH_USER, number); }
    int number = 7;
};

TEST_F(DataExchange, ANumberMustBeTheWholeText) {
    NumberDialog dialog;
    std::string first;
    EXPECT_EQ(Run(dialog,
                  [&](HWND window) {
                      first = test_support::ItemText(window, IDC_LAUNCH_USER);
                      SetDlgItemTextA(window, IDC_LAUNCH_USER, "12x");
                      test_support::Click(window, IDOK);
                      SetDlgItemTextA(window, IDC_LAUNCH_USER, "99999999999");
                      test_support::Click(window, IDOK);
                      SetDlgItemTextA(window, IDC_LAUNCH_USER, " -42 ");
                      test_support::Click(window, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(first, "7");
    EXPECT_EQ(dialog.number, -42);
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[0].text, "Please enter an integer.");
}

class ChoicesDialog : public CDialog {
public:
    explicit ChoicesDialog(UINT id) : CDialog(id) {}
    std::function<void(CDataExchange*)> exchange;
    void DoDataExchange(CDataExchange* dx) override { exchange(dx); }
};

TEST_F(DataExchange, ARadioGroupGivesTheIndexOfItsCheckedButton) {
    int choice = 1;
    ChoicesDialog dialog(IDD_SHUTDOWN);
    dialog.exchange = [&](CDataExchange* dx) { DDX_Radio(dx, IDC_SHUTDOWN_POWER_OFF, choice); };
    bool restartChecked = false;
    EXPECT_EQ(Run(dialog,
                  [&](HWND window) {
                      restartChecked = IsDlgButtonChecked(window, IDC_SHUTDOWN_RESTART) == BST_CHECKED &&
                                       IsDlgButtonChecked(window, IDC_SHUTDOWN_POWER_OFF) == BST_UNCHECKED;
                      test_support::Click(window, IDC_SHUTDOWN_POWER_OFF);
                      test_support::Click(window, IDOK);
                  }),
              IDOK);
    EXPECT_TRUE(restartChecked);
    EXPECT_EQ(choice, 0);

    choice = -1;  // none checked, and none read back
    EXPECT_EQ(Run(dialog, [&](HWND window) { test_support::Click(window, IDOK); }), IDOK);
    EXPECT_EQ(choice, -1);
}

TEST_F(DataExchange, CheckBoxesAndListsExchangeTheirState) {
    int drivers = 1, mouse = 0;
    ChoicesDialog checks(IDD_STATION_CHECK);
    checks.exchange = [&](CDataExchange* dx) {
        DDX_Check(dx, IDC_CHECK_DRIVERS, drivers);
        DDX_Check(dx, IDC_CHECK_MOUSE, mouse);
    };
    EXPECT_EQ(Run(checks,
                  [&](HWND window) {
                      test_support::Click(window, IDC_CHECK_DRIVERS);
                      test_support::Click(window, IDC_CHECK_MOUSE);
                      test_support::Click(window, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(drivers, 0);
    EXPECT_EQ(mouse, 1);

    int index = 1;
    std::string text;
    ChoicesDialog lists(IDD_LAUNCH_STATION);
    lists.exchange = [&](CDataExchange* dx) {
        if (!dx->m_bSaveAndValidate) {
            for (const char* item : {"Front Desk", "Reading Room", "Back Office"})
                SendDlgItemMessageA(dx->m_pDlgWnd->m_hWnd, IDC_LAUNCH_STATION, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(item));
        }
        DDX_CBIndex(dx, IDC_LAUNCH_STATION, index);
        DDX_CBString(dx, IDC_LAUNCH_STATION, text);
    };
    LRESULT selected = -1;
    EXPECT_EQ(Run(lists,
                  [&](HWND window) {
                      selected = SendDlgItemMessageA(window, IDC_LAUNCH_STATION, CB_GETCURSEL, 0, 0);
                      SendDlgItemMessageA(window, IDC_LAUNCH_STATION, CB_SETCURSEL, 2, 0);
                      test_support::Click(window, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(selected, 1) << "the index chose Reading Room, the empty text chose nothing else";
    EXPECT_EQ(index, 2);
    EXPECT_EQ(text, "Back Office");

    std::string user = "mwr";
    int position = -1;
    ChoicesDialog users(IDD_USER_LIST);
    users.exchange = [&](CDataExchange* dx) {
        if (!dx->m_bSaveAndValidate) {
            for (const char* item : {"mwreader", "guest", "mwclerk"})
                SendDlgItemMessageA(dx->m_pDlgWnd->m_hWnd, IDC_USER_LIST, LB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(item));
        }
        DDX_LBString(dx, IDC_USER_LIST, user);
        if (dx->m_bSaveAndValidate) DDX_LBIndex(dx, IDC_USER_LIST, position);
    };
    LRESULT chosen = -1;
    EXPECT_EQ(Run(users,
                  [&](HWND window) {
                      chosen = SendDlgItemMessageA(window, IDC_USER_LIST, LB_GETCURSEL, 0, 0);
                      SendDlgItemMessageA(window, IDC_USER_LIST, LB_SETCURSEL, 1, 0);
                      test_support::Click(window, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(chosen, 0) << "the item that begins with the text";
    EXPECT_EQ(user, "guest") << "the chosen item";
    EXPECT_EQ(position, 1);

    user = "mwr";
    position = 1;
    EXPECT_EQ(Run(users,
                  [&](HWND window) {
                      SendDlgItemMessageA(window, IDC_USER_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                      test_support::Click(window, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(user, "") << "nothing selected";
}

}  // namespace
