// The station settings command from outside: the small dialog of a
// one-station system that also sets the system's automatic launch and
// shutdown, the picker and dialog of several stations, and the setup dialog
// with its sheets on a marked system.
#include <windows.h>

#include <commctrl.h>

#include "main_window_fixture.h"

namespace {

using namespace main_window;

class StationSettings : public MainWindowTest {
protected:
    HWND OpenSettings(int childId) { return Open(ID_STATION_SETTINGS, childId); }
    // On a system of two stations: the settings dialog of the station that
    // the picker's button chooses, or null.
    HWND OpenForPickedStation(int pickButton) {
        SetStation(1, "Front Desk", "mwclerk");
        SetStation(2, "Reading Room", "mwreader");
        if (!Start()) return nullptr;
        HWND picker = OpenSettings(IDC_PICK_STATION1);
        if (!picker) return nullptr;
        test_support::PressButton(picker, pickButton);
        return WaitForDialogWith(*program_, IDC_SETTINGS_NAME);
    }
    static void Check(HWND dialog, int id, bool checked) {
        SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    static bool Checked(HWND dialog, int id) {
        return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
};

TEST_F(StationSettings, OnOneStationTheDialogAlsoSetsTheSystemsLaunchAndShutdown) {
    SetGlobals(0, 1);
    // The one detected station need not be the first: the dialog is its own.
    SetStation(3, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);

    HWND dialog = OpenSettings(IDC_SETTINGS_SHUTDOWN);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetDlgItem(dialog, IDC_SETTINGS_NAME), nullptr) << "the one-station dialog has no name";
    EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_USER), "mwclerk");
    EXPECT_FALSE(Checked(dialog, IDC_SETTINGS_AUTOLAUNCH));
    EXPECT_TRUE(Checked(dialog, IDC_SETTINGS_SHUTDOWN));
    SetWindowTextA(GetDlgItem(dialog, IDC_SETTINGS_USER), "mwreader");
    Check(dialog, IDC_SETTINGS_AUTOLAUNCH, true);
    Check(dialog, IDC_SETTINGS_SHUTDOWN, false);
    test_support::PressButton(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));

    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(3), "Default User"), Text("mwreader"));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(3), "AutoLaunch"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Default"), Binary(0));
}

TEST_F(StationSettings, CancelWritesNothing) {
    SetGlobals(0, 1);
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);

    HWND dialog = OpenSettings(IDC_SETTINGS_SHUTDOWN);
    ASSERT_NE(dialog, nullptr);
    SetWindowTextA(GetDlgItem(dialog, IDC_SETTINGS_USER), "mwreader");
    Check(dialog, IDC_SETTINGS_SHUTDOWN, false);
    test_support::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Default User"), Text("mwclerk"));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled"), Binary(1));
}

TEST_F(StationSettings, OnSeveralStationsOnlyThePickedStationChanges) {
    HWND dialog = OpenForPickedStation(IDC_PICK_STATION2);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetDlgItem(dialog, IDC_SETTINGS_SHUTDOWN), nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_NAME), "Reading Room");
    EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_USER), "mwreader");
    SetWindowTextA(GetDlgItem(dialog, IDC_SETTINGS_NAME), "Library");
    Check(dialog, IDC_SETTINGS_AUTOLAUNCH, true);
    test_support::PressButton(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));

    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(2), "Station Name"), Text("Library"));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(2), "AutoLaunch"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Station Name"), Text("Front Desk"));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "AutoLaunch"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(0));
}

TEST_F(StationSettings, AStationNameLongerThanTheDriverTakesKeepsTheDialogOpen) {
    HWND dialog = OpenForPickedStation(IDC_PICK_STATION1);
    ASSERT_NE(dialog, nullptr);
    HWND name = GetDlgItem(dialog, IDC_SETTINGS_NAME);
    EXPECT_EQ(SendMessageA(name, EM_GETLIMITTEXT, 0, 0), 31);
    SendMessageA(name, EM_LIMITTEXT, 0, 0);  // as a pasted text would get past it
    SetWindowTextA(name, std::string(32, 'n').c_str());
    test_support::PressButton(dialog, IDOK);
    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), "Please enter no more than 31 characters.");
    test_support::PressButton(box, IDOK);
    ASSERT_TRUE(WaitFor([box] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(dialog));

    // Nor a name that the other station has, in whatever case.
    SetWindowTextA(name, "READING ROOM");
    test_support::PressButton(dialog, IDOK);
    box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_STATION_NAME_TAKEN));
    test_support::PressButton(box, IDOK);
    ASSERT_TRUE(WaitFor([box] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(dialog));
    test_support::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Station Name"), Text("Front Desk"));
}

TEST_F(StationSettings, OnAMarkedSystemTheSetupDialogOpensTheTwoBoardSheet) {
    SetBoard("KX4 PB-4");
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);

    HWND setup = OpenSettings(IDC_SETUP_BOARDS);
    ASSERT_NE(setup, nullptr);
    test_support::PressButton(setup, IDC_SETUP_BOARDS);
    HWND sheet = program_->WaitForWindow(
        [](HWND window) { return test_support::WindowText(window) == LibraryText(IDS_BOARD_SHEET); });
    ASSERT_NE(sheet, nullptr);
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 1) << "one marked board";
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    // The control center's program file is zelto.exe: the two-board edition.
    EXPECT_EQ(ItemText(page, IDC_BOARD_NAME), LibraryText(IDS_ZELTO_BOARD_NAME));
    test_support::PressButton(sheet, IDOK);
    ASSERT_TRUE(WaitFor([sheet] { return !IsWindow(sheet); }));
    EXPECT_TRUE(IsWindow(setup)) << "the setup dialog stays until it is closed";
    test_support::PressButton(setup, IDOK);
    ASSERT_TRUE(Closed(setup));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, BoardKey(1), "Board Name"), Text(LibraryText(IDS_ZELTO_BOARD_NAME)));
}

}  // namespace
