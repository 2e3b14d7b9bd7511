// The main window and its home view worked from outside, as the
// administrator works them: the saved position, the radio pairs of the
// Options menu, launching and stopping a station, the marked system's
// layout and the picture that the language chooses. The registry, the
// profile, the screen and the stand-in driver's request log tell what the
// program did; its menus are looked at on a main window of this process.
#include <algorithm>

#include "control_center_app.h"
#include "main_window_fixture.h"
#include "resources.h"
#include "window.h"

namespace {

using namespace main_window;

// ---- Menus -----------------------------------------------------------------

// One item of an open menu: whether it is enabled, and its mark.
enum class Mark { kNone, kBullet, kCheck };

void PrintTo(Mark mark, std::ostream* out) {
    *out << (mark == Mark::kNone ? "no mark" : mark == Mark::kBullet ? "a radio bullet" : "a check mark");
}

struct MenuItem {
    UINT id = 0;
    bool enabled = false;
    Mark mark = Mark::kNone;
};

// The menus of the menu bar by their mnemonics.
const char kStationMenu = 's';
const char kOptionsMenu = 'o';

// The Options menu: automatic launch on and off, default shutdown on and
// off, shut down the system.
enum OptionsItem { kAutoLaunchOn, kAutoLaunchOff, kShutdownOn, kShutdownOff, kShutDownSystem, kOptionsItems };

// Another process's menus are out of reach under Wine (GetSubMenu and
// GetMenuItemInfo refuse a foreign menu). So the menus are opened on a main
// window that this test program opens as start-up opens it, hidden, over
// the registry the running program uses: the frame with the program's menu
// and its home view. A menu opens there as Alt and its mnemonic open it, so
// the system sends the frame WM_INITMENUPOPUP and the update handlers run
// (reloading the registry, deleting items) as they do in the program; the
// items are read while the menu stands open on the screen. Open it only
// after zelto.exe has started: the window class marks a running instance,
// and a start while this window stands would hand over to it and end. What
// is each process's own under Wine (the work area) is tried on it too.
class MainWindowHere {
public:
    MainWindowHere() {
        CControlCenterApp& app = App();
        app.InitializeFromModule(GetModuleHandleA(nullptr), SW_HIDE);
        app.m_hResourceLibrary = LoadLibraryA("ZELTO.DLL");
        AfxSetResourceHandle(app.m_hResourceLibrary);
        CCommandLineInfo commandLine;
        if (app.m_hResourceLibrary && app.RegisterMainWindowClass() && app.OpenMainWindow(commandLine))
            main_ = app.m_pMainWnd->m_hWnd;
    }
    ~MainWindowHere() {
        if (main_ && IsWindow(main_)) DestroyWindow(main_);
        // The main window's end posts the quit of the program's message
        // loop, which the rest of this program must not see.
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        App().CleanupInstance();
    }
    MainWindowHere(const MainWindowHere&) = delete;
    MainWindowHere& operator=(const MainWindowHere&) = delete;
    HWND Window() const { return main_; }

    // The items of the menu (separators aside) as the open menu shows them;
    // none when the menu did not open.
    std::vector<MenuItem> Open(char mnemonic) {
        Opening opening;
        opening_ = &opening;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, Watch, nullptr, GetCurrentThreadId());
        // Should the menu never come to rest, it is closed all the same.
        UINT_PTR timer = SetTimer(nullptr, 0, 5000, GiveUp);
        if (main_) SendMessageA(main_, WM_SYSCOMMAND, SC_KEYMENU, mnemonic);
        KillTimer(nullptr, timer);
        // What the menu left in the queue is handled, as the program's
        // message loop handles it before the next menu opens.
        MSG left;
        while (PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&left);
        UnhookWindowsHookEx(hook);
        opening_ = nullptr;
        return opening.items;
    }

private:
    struct Opening {
        HMENU menu = nullptr;
        bool read = false;
        std::vector<MenuItem> items;
    };

    static CControlCenterApp& App() { return *static_cast<CControlCenterApp*>(AfxGetApp()); }
    static void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

    // Sees the frame's messages once it has handled them: the menu that
    // opens, then the menu loop's first rest, when the open menu is read and
    // closed.
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && opening_) {
            if (message->message == WM_INITMENUPOPUP && !HIWORD(message->lParam))
                opening_->menu = reinterpret_cast<HMENU>(message->wParam);
            if (message->message == WM_ENTERIDLE && message->wParam == MSGF_MENU && opening_->menu && !opening_->read) {
                opening_->read = true;
                if (IsWindowVisible(reinterpret_cast<HWND>(message->lParam))) opening_->items = ItemsOf(opening_->menu);
                EndMenu();
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static std::vector<MenuItem> ItemsOf(HMENU menu) {
        std::vector<MenuItem> items;
        for (int index = 0; index < GetMenuItemCount(menu); ++index) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
            if (!GetMenuItemInfoA(menu, index, TRUE, &info) || (info.fType & MFT_SEPARATOR)) continue;
            const Mark mark = !(info.fState & MFS_CHECKED)    ? Mark::kNone
                              : (info.fType & MFT_RADIOCHECK) ? Mark::kBullet
                                                              : Mark::kCheck;
            items.push_back({info.wID, !(info.fState & MFS_DISABLED), mark});
        }
        return items;
    }

    static inline Opening* opening_ = nullptr;
    HWND main_ = nullptr;
};

// ---- Saved position ------------------------------------------------------

// zelto.exe started with a place for its first window, as a shortcut's
// start-up information gives one: the place where the system puts the
// window, which a saved position must change and an unsaved one keep.
class PlacedStart {
public:
    PlacedStart(const std::string& path, Place place) {
        std::string commandLine = "\"" + path + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USEPOSITION;
        startup.dwX = place.x;
        startup.dwY = place.y;
        if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process_))
            process_ = {};
        if (process_.hProcess) WaitForInputIdle(process_.hProcess, 5000);
    }
    ~PlacedStart() {
        if (!process_.hProcess) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    PlacedStart(const PlacedStart&) = delete;
    PlacedStart& operator=(const PlacedStart&) = delete;

    HWND WaitForMainWindow() {
        HWND found = nullptr;
        WaitFor(
            [&] {
                found = FindWindowA(kMainClass, nullptr);
                DWORD owner = 0;
                if (found) GetWindowThreadProcessId(found, &owner);
                return found && owner == process_.dwProcessId && IsWindowVisible(found);
            },
            10000);
        return found;
    }
    bool WaitForExit(DWORD milliseconds) {
        return !process_.hProcess || WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
    }

private:
    PROCESS_INFORMATION process_ = {};
};

class SavedPosition : public MainWindowTest {
protected:
    void TearDown() override {
        if (placed_) {
            PostMessageA(main_, WM_CLOSE, 0, 0);
            EXPECT_TRUE(placed_->WaitForExit(10000)) << "the control center did not end";
            placed_.reset();
        }
        MainWindowTest::TearDown();
    }

    static void SaveProfilePosition(int left, int top) {
        Put(HKEY_CURRENT_USER, kWindowKey, "Left", Dword(static_cast<DWORD>(left)));
        Put(HKEY_CURRENT_USER, kWindowKey, "Top", Dword(static_cast<DWORD>(top)));
    }

    // Starts the program where the system would put its window by itself,
    // and tells where the window stands once shown.
    Place StartPlaced() {
        placed_ = std::make_unique<PlacedStart>(Zelto(), kSystemPlace);
        main_ = placed_->WaitForMainWindow();
        RECT frame = {};
        GetWindowRect(main_, &frame);
        return {frame.left, frame.top};
    }

    static constexpr Place kSystemPlace = {140, 90};
    std::unique_ptr<PlacedStart> placed_;
};

TEST_F(SavedPosition, ZeroLeftAndTopLeaveTheWindowWhereTheSystemPutIt) {
    SaveProfilePosition(0, 0);
    Place shown = StartPlaced();
    ASSERT_NE(main_, nullptr);
    EXPECT_EQ(shown, kSystemPlace);
}

TEST_F(SavedPosition, ClosingWritesTheNormalPositionBack) {
    StartPlaced();
    ASSERT_NE(main_, nullptr);
    SetWindowPos(main_, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Minimised, the window stands elsewhere; its normal position counts.
    ShowWindow(main_, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([this] { return IsIconic(main_) != FALSE; }));
    PostMessageA(main_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(placed_->WaitForExit(10000));
    placed_.reset();
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, kWindowKey, "Left"), Dword(123));
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, kWindowKey, "Top"), Dword(77));
}

// The work area (the screen without the taskbar) moved for a test and put
// back when it goes.
class MovedWorkArea {
public:
    MovedWorkArea(int left, int top) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &original_, 0);
        RECT moved = {left, top, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        moved_ = SystemParametersInfoA(SPI_SETWORKAREA, 0, &moved, SPIF_SENDCHANGE) != FALSE;
    }
    ~MovedWorkArea() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &original_, SPIF_SENDCHANGE); }
    MovedWorkArea(const MovedWorkArea&) = delete;
    MovedWorkArea& operator=(const MovedWorkArea&) = delete;
    bool Moved() const { return moved_; }

private:
    RECT original_ = {};
    bool moved_ = false;
};

TEST_F(SavedPosition, WithTheTaskbarAtTheTopTheSavedPlaceCountsFromTheWorkArea) {
    // The work area is each process's own under Wine: it is moved here, and
    // the window opened here.
    MovedWorkArea taskbar(0, 40);
    ASSERT_TRUE(taskbar.Moved());
    MainWindowHere here;
    ASSERT_NE(here.Window(), nullptr);
    CWinApp* app = AfxGetApp();
    app->SetRegistryKey("Quillon");
    ASSERT_FALSE(app->m_strProfileName.empty());
    // As the close saves it: the normal position, which GetWindowPlacement
    // gives from the corner of the work area.
    app->WriteProfileInt("Window", "Left", 123);
    app->WriteProfileInt("Window", "Top", 77);
    ShowWindow(here.Window(), SW_SHOWNA);
    RECT frame = {};
    GetWindowRect(here.Window(), &frame);
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Quillon\\" + app->m_strProfileName).c_str());
    app->SetRegistryKey(nullptr);
    EXPECT_EQ((Place{frame.left, frame.top}), (Place{123, 117}));
}

struct Placement {
    int left, top;  // as saved
    bool clamped;   // whether the expected place is the screen's size minus 50
    Place expected;
};

void PrintTo(const Placement& placement, std::ostream* out) {
    *out << "saved (" << placement.left << ", " << placement.top << ")";
}

class SavedPlacement : public SavedPosition, public ::testing::WithParamInterface<Placement> {};

TEST_P(SavedPlacement, MovesTheShownWindowOntoTheScreen) {
    const Placement& placement = GetParam();
    SaveProfilePosition(placement.left, placement.top);
    Place shown = StartPlaced();
    ASSERT_NE(main_, nullptr);
    Place expected = placement.expected;
    if (placement.clamped) expected = {GetSystemMetrics(SM_CXSCREEN) - 50, GetSystemMetrics(SM_CYSCREEN) - 50};
    EXPECT_EQ(shown, expected);
}

INSTANTIATE_TEST_SUITE_P(Saved, SavedPlacement,
                         ::testing::Values(Placement{-10, 5, false, {0, 5}},
                                           // One of the two at 0 is a place too.
                                           Placement{0, 300, false, {0, 300}}, Placement{5000, 5000, true, {}}));

// ---- Options -------------------------------------------------------------

using Options = MainWindowTest;

// Exactly one item of each radio pair carries the bullet.
void ExpectMarks(const std::vector<MenuItem>& items, bool autoLaunchOn, bool shutdownOn) {
    ASSERT_EQ(items.size(), static_cast<size_t>(kOptionsItems));
    auto bullet = [](bool on) { return on ? Mark::kBullet : Mark::kNone; };
    EXPECT_EQ(items[kAutoLaunchOn].mark, bullet(autoLaunchOn)) << "automatic launch on";
    EXPECT_EQ(items[kAutoLaunchOff].mark, bullet(!autoLaunchOn)) << "automatic launch off";
    EXPECT_EQ(items[kShutdownOn].mark, bullet(shutdownOn)) << "shut down by default";
    EXPECT_EQ(items[kShutdownOff].mark, bullet(!shutdownOn)) << "do not shut down by default";
    EXPECT_EQ(items[kShutDownSystem].mark, Mark::kNone) << "shut down the system";
}

TEST_F(Options, AutomaticLaunchOnAOneStationSystemSetsTheSystemAndTheStation) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);
    MainWindowHere menus;
    {
        SCOPED_TRACE("at start");
        ExpectMarks(menus.Open(kOptionsMenu), false, false);
    }

    ASSERT_TRUE(Command(ID_AUTOLAUNCH_ON));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "AutoLaunch"), Binary(1));
    {
        SCOPED_TRACE("on");
        ExpectMarks(menus.Open(kOptionsMenu), true, false);
    }

    ASSERT_TRUE(Command(ID_AUTOLAUNCH_OFF));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "AutoLaunch"), Binary(0));
    {
        SCOPED_TRACE("off");
        ExpectMarks(menus.Open(kOptionsMenu), false, false);
    }
    EXPECT_TRUE(driver_.Requests().empty());
}

TEST_F(Options, AutomaticLaunchOnSeveralStationsChangesOnlyTheSystemFlag) {
    SetStation(1, "Front Desk", "mwclerk", false, false);
    SetStation(2, "Reading Room", "mwreader", false, true);
    ASSERT_NE(Start(), nullptr);

    ASSERT_TRUE(Command(ID_AUTOLAUNCH_ON));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "AutoLaunch"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(2), "AutoLaunch"), Binary(1));

    ASSERT_TRUE(Command(ID_AUTOLAUNCH_OFF));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "AutoLaunch"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(2), "AutoLaunch"), Binary(1));
}

TEST_F(Options, DefaultShutdownOnAndOffSetBothShutdownValues) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);
    MainWindowHere menus;

    ASSERT_TRUE(Command(ID_SHUTDOWN_DEFAULT_ON));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Default"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(0));
    {
        SCOPED_TRACE("on");
        ExpectMarks(menus.Open(kOptionsMenu), false, true);
    }

    ASSERT_TRUE(Command(ID_SHUTDOWN_DEFAULT_OFF));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Default"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled"), Binary(0));
    {
        SCOPED_TRACE("off");
        ExpectMarks(menus.Open(kOptionsMenu), false, false);
    }
}

TEST_F(Options, TheMarksFollowTheRegistryWhenTheMenuOpens) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);
    MainWindowHere menus;
    // Changed by another program while the window is open.
    SetGlobals(1, 1);
    ExpectMarks(menus.Open(kOptionsMenu), true, true);
}

// ---- Launch and stop -----------------------------------------------------

using StationCommands = MainWindowTest;

TEST_F(StationCommands, LaunchOnAOneStationSystemUsesTheDefaultUserWithoutAPicker) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_LAUNCH)));
    EXPECT_FALSE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));

    // No picker: the command ends without a dialog in between.
    ASSERT_TRUE(Command(ID_LAUNCH_STATION));
    EXPECT_EQ(program_->Windows().size(), 1u);

    auto requests = driver_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, kLaunchStation);
    ASSERT_EQ(requests[0].input.size(), 68u);
    EXPECT_STREQ(reinterpret_cast<const char*>(requests[0].input.data()), "Front Desk");
    EXPECT_STREQ(reinterpret_cast<const char*>(requests[0].input.data() + 32), "mwclerk");
    int32_t index = -1;
    std::memcpy(&index, requests[0].input.data() + 64, sizeof index);
    EXPECT_EQ(index, 0);

    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Logged In User"), Text("mwclerk"));
    EXPECT_FALSE(IsWindowEnabled(ViewItem(IDC_HOME_LAUNCH)));
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));
}

TEST_F(StationCommands, WithEveryStationLaunchedTheLaunchCommandIsOffAndDoesNothing) {
    SetStation(1, "Front Desk", "mwclerk", true);
    SetStation(2, "Reading Room", "mwreader", true);
    ASSERT_NE(Start(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(ViewItem(IDC_HOME_LAUNCH)));
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));

    auto items = MainWindowHere().Open(kStationMenu);
    // Launch, stop, check, settings, message, running programs, log, exit.
    ASSERT_EQ(items.size(), 8u);
    EXPECT_FALSE(items[0].enabled) << "launch";
    EXPECT_TRUE(items[1].enabled) << "stop";
    EXPECT_TRUE(items[2].enabled) << "station check";

    // Sent anyway, as a button not yet refreshed would send it.
    ASSERT_TRUE(Command(ID_LAUNCH_STATION));
    EXPECT_EQ(program_->Windows().size(), 1u) << "no picker, no message";
    EXPECT_TRUE(driver_.Requests().empty());
}

// Station 1 recorded as launched, as a launch leaves it; RunInDriver makes
// the driver run it as well.
class StationStop : public StationCommands {
protected:
    void SetUp() override {
        StationCommands::SetUp();
        SetStation(1, "Front Desk", "mwclerk", true);
    }
    void RunInDriver() { ASSERT_TRUE(driver_.AddLaunch("Front Desk", "mwclerk", 0)); }

    // Gives the stop command as the menu does; the message box it shows.
    HWND Stop() {
        PostMessageA(main_, WM_COMMAND, ID_STOP_STATION, 0);
        return program_->WaitForMessageBox();
    }
};

TEST_F(StationStop, StopsOnlyWhenTheAdministratorConfirms) {
    RunInDriver();
    ASSERT_NE(Start(), nullptr);

    HWND box = Stop();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_CONFIRM_STOP));
    EXPECT_EQ(Buttons(box), kYesNo);
    ASSERT_TRUE(Answer(box, IDNO));
    EXPECT_TRUE(RequestsOf(kStopStation).empty());
    EXPECT_EQ(driver_.Status().launchCount, 1u);
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(1));
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));

    box = Stop();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_CONFIRM_STOP));
    EXPECT_EQ(Buttons(box), kYesNo);
    ASSERT_TRUE(Answer(box, IDYES));
    auto stops = RequestsOf(kStopStation);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(stops[0].input.data()), "Front Desk");
    EXPECT_EQ(driver_.Status().launchCount, 0u);
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(0));
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_LAUNCH)));
    EXPECT_FALSE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));
    EXPECT_EQ(program_->WaitForMessageBox(300), nullptr) << "a stop that worked says nothing";
}

TEST_F(StationStop, PendingWorkRefusesTheStopBeforeAnyQuestion) {
    RunInDriver();
    ASSERT_TRUE(driver_.SetPending(true));
    ASSERT_NE(Start(), nullptr);

    HWND box = Stop();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_STOP_PENDING));
    EXPECT_EQ(Buttons(box), kOk);
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(program_->WaitForMessageBox(300), nullptr) << "no confirmation after the refusal";
    EXPECT_TRUE(RequestsOf(kStopStation).empty());
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(1));
}

TEST_F(StationStop, AStopTheDriverCannotPerformIsReportedAfterTheConfirmation) {
    // Launched in the registry, unknown to the driver.
    ASSERT_NE(Start(), nullptr);

    HWND box = Stop();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_CONFIRM_STOP));
    EXPECT_EQ(Buttons(box), kYesNo);
    test_support::PressButton(box, IDYES);
    ASSERT_TRUE(WaitFor([box] { return !IsWindow(box); }));

    box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_STOP_FAILED));
    EXPECT_EQ(Buttons(box), kOk);
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(RequestsOf(kStopStation).empty());
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(1));
}

// ---- Marked system -------------------------------------------------------

using MarkedSystem = MainWindowTest;

TEST_F(MarkedSystem, StationCheckGoesAndTheLeftColumnClosesUp) {
    SetBoard("KX4 PA-2");
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);

    // One item fewer than the eight of an ordinary system.
    auto items = MainWindowHere().Open(kStationMenu);
    EXPECT_EQ(items.size(), 7u);
    EXPECT_TRUE(
        std::none_of(items.begin(), items.end(), [](const MenuItem& item) { return item.id == ID_STATION_CHECK; }));

    EXPECT_FALSE(IsWindowVisible(ViewItem(IDC_HOME_CHECK)));
    const struct {
        int item;
        Place place;
    } column[] = {{IDC_HOME_MESSAGE, {25, 60}}, {IDC_HOME_REMOVE_USER, {25, 120}}, {IDC_HOME_SETTINGS, {25, 180}}};
    for (const auto& each : column) {
        RECT frame = {};
        GetWindowRect(ViewItem(each.item), &frame);
        POINT corner = {frame.left, frame.top};
        ScreenToClient(View(), &corner);
        EXPECT_EQ((Place{corner.x, corner.y}), each.place) << "item " << each.item;
        EXPECT_TRUE(IsWindowVisible(ViewItem(each.item))) << "item " << each.item;
    }
}

// ---- The picture and the language ----------------------------------------

// The near-white pixels in the view's top right corner: the standard
// picture writes the program's name in white there, the _JAP one leaves the
// sky plain.
int WhiteInTitleCorner(const Screenshot& view) {
    int white = 0;
    for (int y = 0; y < view.Height() / 5; ++y) {
        for (int x = view.Width() / 2; x < view.Width(); ++x) {
            COLORREF pixel = view.At(x, y);
            if (GetRValue(pixel) >= 230 && GetGValue(pixel) >= 230 && GetBValue(pixel) >= 230) ++white;
        }
    }
    return white;
}

struct Language {
    const char* name;
    bool titled;  // the standard picture, with the program's name
};

void PrintTo(const Language& language, std::ostream* out) {
    *out << language.name;
}

class LanguagePicture : public MainWindowTest, public ::testing::WithParamInterface<Language> {
protected:
    // The host's language is kept first, so it is put back whatever fails.
    void SetUp() override {
        char value[64] = {};
        GetProfileStringA("intl", "sLanguage", kMissing, value, sizeof value);
        hadLanguage_ = std::string(value) != kMissing;
        language_ = value;
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        WriteProfileStringA("intl", "sLanguage", hadLanguage_ ? language_.c_str() : nullptr);
    }

    static constexpr const char* kMissing = "(none)";
    bool hadLanguage_ = false;
    std::string language_;
};

TEST_P(LanguagePicture, ChoosesTheStandardOrTheUntitledPicture) {
    ASSERT_TRUE(WriteProfileStringA("intl", "sLanguage", GetParam().name));
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);

    const int white = WhiteInTitleCorner(ClientOnScreen(View()));
    if (GetParam().titled)
        EXPECT_GT(white, 300);
    else
        EXPECT_LT(white, 30);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguagePicture,
                         ::testing::Values(Language{"jpn", false}, Language{"enu", true},
                                           // Compared exactly: other cases and other Chinese are standard.
                                           Language{"JPN", true}, Language{"chs", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
