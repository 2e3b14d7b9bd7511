// The framework's seams and services, run in the test program itself with
// the control center's resource library as the resource handle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "application.h"
#include "dialog.h"
#include "registry_backup.h"
#include "resource_ids.h"
#include "resource_library_suite.h"
#include "resources.h"
#include "seams.h"
#include "text.h"

namespace {

class Framework : public test_support::ResourceLibrarySuite {
protected:
    void TearDown() override {
        AfxSetMessageBoxHandler(nullptr);
        AfxSetModalOperator(nullptr);
        AfxSetClock(nullptr);
    }
};

struct ShownBox {
    std::string text, caption;
    UINT style;
    HWND owner;
};

TEST_F(Framework, EveryMessageBoxPassesThroughTheReplaceableHandler) {
    std::vector<ShownBox> shown;
    AfxSetMessageBoxHandler([&](HWND owner, const std::string& text, const std::string& caption, UINT style) {
        shown.push_back({text, caption, style, owner});
        return IDNO;
    });
    EXPECT_EQ(AfxMessageBox("Remove it?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxMessageBox(IDS_NO_DRIVER, MB_OK), IDNO);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Remove it?");
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(shown[1].text, AfxLoadString(IDS_NO_DRIVER));

    // This program has no main window: a question is owned by the window
    // that is active, so that it holds that window until it is answered.
    HWND asking = CreateWindowExA(0, "STATIC", "asking", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(asking, nullptr);
    SetActiveWindow(asking);
    if (GetActiveWindow() == asking) {
        AfxMessageBox("Delete the log?", MB_YESNO);
        EXPECT_EQ(shown.back().owner, asking);
    }
    DestroyWindow(asking);
}

TEST_F(Framework, StringsComeFromTheResourceHandleAndMissingOnesLeaveTheTextAlone) {
    std::string text = "untouched";
    EXPECT_FALSE(AfxLoadString(9999, text));
    EXPECT_EQ(text, "untouched");
    ASSERT_TRUE(AfxLoadString(IDS_APP_TITLE, text));
    EXPECT_EQ(text, "Zelto Control Center");
    // Resources the library lacks are looked for in the program itself.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(IDD_ABOUT), RT_DIALOG), library_);
    EXPECT_EQ(AfxFormat("%s\\Station%d", "Setup", 7), "Setup\\Station7");
    // Lower case as the system makes it in the host's code page, not only A-Z.
    if (GetACP() == 1252) {
        EXPECT_EQ(AfxLowerCase("C:\\PROFILES\\\xC9LODIE"), "c:\\profiles\\\xE9lodie");
    }
    EXPECT_EQ(AfxLowerCase(std::string("A\0B", 3)), std::string("a\0b", 3));
}

// A dialog that reads its radio pair when OK is pressed.
class ShutdownChoice : public CDialog {
public:
    ShutdownChoice() : CDialog(IDD_SHUTDOWN) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        CheckDlgButton(m_hWnd, IDC_SHUTDOWN_POWER_OFF, BST_CHECKED);
        return TRUE;
    }
    void OnOK() override {
        choice = IsDlgButtonChecked(m_hWnd, IDC_SHUTDOWN_RESTART) ? 2 : 1;
        CDialog::OnOK();
    }
    int choice = 0;
};

TEST_F(Framework, AModalRunIsHandedToTheOperatorOnceInitialised) {
    bool sawInitialisedDialog = false;
    AfxSetModalOperator([&](HWND dialog) {
        sawInitialisedDialog = IsDlgButtonChecked(dialog, IDC_SHUTDOWN_POWER_OFF) == BST_CHECKED;
        SendDlgItemMessageA(dialog, IDC_SHUTDOWN_RESTART, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    });
    ShutdownChoice dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(sawInitialisedDialog);
    EXPECT_EQ(dialog.choice, 2);
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "the object lets go of the window when it ends";
}

TEST_F(Framework, CancelEndsTheRunWithoutOk) {
    AfxSetModalOperator([](HWND dialog) { SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0); });
    ShutdownChoice dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.choice, 0);
}

TEST_F(Framework, AMissingTemplateFailsTheRun) {
    CDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
}

struct TestClock : Clock {
    DWORD now = 1000;
    void Sleep(DWORD milliseconds) override { now += milliseconds; }
    DWORD TickCount() override { return now; }
};

TEST_F(Framework, WaitingGoesThroughTheReplaceableClock) {
    TestClock clock;
    AfxSetClock(&clock);
    DWORD before = GetTickCount();
    AfxSleep(30000);
    EXPECT_EQ(AfxGetTickCount(), 31000u);
    EXPECT_LT(GetTickCount() - before, 5000u) << "the test clock must not really wait";
}

class ProfileApp : public CWinApp {
public:
    ProfileApp() : CWinApp("Profile Test") {}
};

TEST_F(Framework, TheProfileLiesUnderTheCompanyAndApplicationName) {
    test_support::RegistryBackup keep(HKEY_CURRENT_USER, "Software\\QuillonTest");
    ProfileApp app;
    app.InitializeFromModule(GetModuleHandleA(nullptr), SW_SHOW);
    EXPECT_EQ(app.m_strAppName, "Profile Test");
    EXPECT_EQ(app.GetProfileInt("Window", "Left", 7), 7u);
    app.SetRegistryKey("QuillonTest");
    ASSERT_TRUE(app.WriteProfileInt("Window", "Left", -10));
    EXPECT_EQ(static_cast<int>(app.GetProfileInt("Window", "Left", 0)), -10);
    ASSERT_TRUE(app.WriteProfileString("Recent File List", "File1", "C:\\one.txt"));
    app.LoadStdProfileSettings(4);
    EXPECT_EQ(app.m_recentFiles, std::vector<std::string>{"C:\\one.txt"});

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\QuillonTest\\Profile Test\\Window", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

}  // namespace
