// The main window's other commands worked from outside: the pickers that
// choose a station where there are several, the help and web commands that
// hand a page or an address to the system's registered programs, and the
// commands that open a dialog. A recording program registered for web
// pages and addresses tells what the shell was asked to open.
#include <fstream>

#include "main_window_fixture.h"

namespace {

using namespace main_window;

// ---- Dialogs ---------------------------------------------------------------

// A list or combo box item chosen as a click chooses it: the selection and
// the notification its dialog receives.
void ChooseListItem(HWND dialog, int listId, int item) {
    HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, LB_SETCURSEL, item, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}
void ChooseComboItem(HWND dialog, int comboId, int item) {
    HWND combo = GetDlgItem(dialog, comboId);
    SendMessageA(combo, CB_SETCURSEL, item, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// The name and the user of each launch the driver received, in order, with
// the station index the record carries.
struct Launch {
    std::string station;
    std::string user;
    int32_t index = -1;
    bool operator==(const Launch&) const = default;
};

void PrintTo(const Launch& launch, std::ostream* out) {
    *out << launch.station << " / " << launch.user << " / " << launch.index;
}

// ---- Pickers on several stations -------------------------------------------

class SeveralStations : public MainWindowTest {
protected:
    std::vector<Launch> Launches() {
        std::vector<Launch> launches;
        for (const auto& request : RequestsOf(kLaunchStation)) {
            if (request.input.size() != 68u) continue;
            Launch launch;
            launch.station = reinterpret_cast<const char*>(request.input.data());
            launch.user = reinterpret_cast<const char*>(request.input.data() + 32);
            std::memcpy(&launch.index, request.input.data() + 64, sizeof launch.index);
            launches.push_back(launch);
        }
        return launches;
    }
};

TEST_F(SeveralStations, TheLaunchPickerOffersTheStoppedStationsAndLaunchesThePickedOneForItsDefaultUser) {
    SetStation(1, "Front Desk", "mwclerk", true);
    SetStation(2, "Reading Room", "mwreader");
    SetStation(3, "Station 3", "guest");
    ASSERT_NE(Start(), nullptr);

    HWND picker = Open(ID_LAUNCH_STATION, IDC_PICK_STATION1);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(test_support::WindowText(picker), LibraryText(IDS_PICK_LAUNCH_TITLE));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(picker, IDC_PICK_STATION1))) << "already launched";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(picker, IDC_PICK_STATION2)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(picker, IDC_PICK_STATION3)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(picker, IDC_PICK_STATION4))) << "not detected";
    EXPECT_EQ(ItemText(picker, IDC_PICK_STATION2), "&2: Reading Room");

    test_support::PressButton(picker, IDC_PICK_STATION2);
    ASSERT_TRUE(Closed(picker));
    EXPECT_EQ(Launches(), (std::vector<Launch>{{"Reading Room", "mwreader", 1}}));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(2), "Launched"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(2), "Logged In User"), Text("mwreader"));
}

TEST_F(SeveralStations, ClosingTheLaunchPickerLaunchesNothing) {
    SetStation(1, "Front Desk", "mwclerk");
    SetStation(2, "Reading Room", "mwreader");
    ASSERT_NE(Start(), nullptr);

    HWND picker = Open(ID_LAUNCH_STATION, IDC_PICK_STATION1);
    ASSERT_NE(picker, nullptr);
    test_support::PressButton(picker, IDCANCEL);
    ASSERT_TRUE(Closed(picker));
    EXPECT_TRUE(driver_.Requests().empty());
    EXPECT_EQ(program_->WaitForMessageBox(300), nullptr);
}

TEST_F(SeveralStations, TheStopPickerAsksForTheStationBeforeTheConfirmation) {
    SetStation(1, "Front Desk", "mwclerk", true);
    SetStation(2, "Reading Room", "mwreader", true);
    ASSERT_TRUE(driver_.AddLaunch("Front Desk", "mwclerk", 0));
    ASSERT_TRUE(driver_.AddLaunch("Reading Room", "mwreader", 1));
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    HWND picker = Open(ID_STOP_STATION, IDC_PICK_STATION1);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(test_support::WindowText(picker), LibraryText(IDS_PICK_STOP_TITLE));
    EXPECT_EQ(program_->WaitForMessageBox(200), nullptr) << "no question before the choice";
    test_support::PressButton(picker, IDC_PICK_STATION2);
    ASSERT_TRUE(WaitFor([picker] { return !IsWindow(picker); }));

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_CONFIRM_STOP));
    // Closed from its title bar while the question is up: the command ends
    // first, then the window closes.
    PostMessageA(main, WM_CLOSE, 0, 0);
    Sleep(200);
    EXPECT_TRUE(IsWindow(main));
    test_support::PressButton(box, IDYES);
    DWORD exitCode = 1;
    EXPECT_TRUE(program_->WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u) << "ended as closed, not crashed";
    auto stops = RequestsOf(kStopStation);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(stops[0].input.data()), "Reading Room");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(2), "Launched"), Binary(0));
}

class SeveralStationsMarked : public SeveralStations {
protected:
    void SetUp() override {
        SeveralStations::SetUp();
        SetBoard("KX4 PB-4");
    }
};

TEST_F(SeveralStationsMarked, TheLaunchDialogLaunchesTheChosenStationForTheUserTyped) {
    SetStation(1, "Front Desk", "mwclerk", true);
    SetStation(2, "Reading Room", "mwreader");
    SetStation(3, "Back Office", "guest");
    ASSERT_NE(Start(), nullptr);

    HWND dialog = Open(ID_LAUNCH_STATION, IDC_LAUNCH_STATION);
    ASSERT_NE(dialog, nullptr);
    HWND combo = GetDlgItem(dialog, IDC_LAUNCH_STATION);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2) << "the stations not yet launched";
    EXPECT_EQ(ItemText(dialog, IDC_LAUNCH_USER), "mwreader") << "the first one's default user";

    ChooseComboItem(dialog, IDC_LAUNCH_STATION, 1);
    EXPECT_EQ(ItemText(dialog, IDC_LAUNCH_USER), "guest");
    SetWindowTextA(GetDlgItem(dialog, IDC_LAUNCH_USER), "mwreader");
    test_support::PressButton(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_EQ(Launches(), (std::vector<Launch>{{"Back Office", "mwreader", 2}}));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(3), "Logged In User"), Text("mwreader"));
}

TEST_F(SeveralStationsMarked, ANameLongerThanTheDriverTakesKeepsTheLaunchDialogOpen) {
    const std::string longUser(40, 'u');
    SetStation(1, "Front Desk", longUser.c_str());
    SetStation(2, "Reading Room", "mwreader");
    ASSERT_NE(Start(), nullptr);

    HWND dialog = Open(ID_LAUNCH_STATION, IDC_LAUNCH_STATION);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_LAUNCH_USER), longUser) << "placed there in full";
    test_support::PressButton(dialog, IDOK);
    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), "Please enter no more than 31 characters.");
    test_support::PressButton(box, IDOK);
    ASSERT_TRUE(WaitFor([box] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
    test_support::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_TRUE(driver_.Requests().empty());
}

TEST_F(SeveralStationsMarked, TheStopListHoldsTheRunningStationsAndStopsTheChosenOne) {
    SetStation(1, "Front Desk", "mwclerk", true);
    SetStation(2, "Reading Room", "mwreader");
    SetStation(3, "Back Office", "guest", true);
    ASSERT_TRUE(driver_.AddLaunch("Front Desk", "mwclerk", 0));
    ASSERT_TRUE(driver_.AddLaunch("Back Office", "guest", 2));
    ASSERT_NE(Start(), nullptr);

    HWND picker = Open(ID_STOP_STATION, IDC_STOP_PICK_LIST);
    ASSERT_NE(picker, nullptr);
    HWND list = GetDlgItem(picker, IDC_STOP_PICK_LIST);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR) << "nothing chosen yet";

    ChooseListItem(picker, IDC_STOP_PICK_LIST, 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(picker, IDOK)));
    test_support::PressButton(picker, IDOK);
    ASSERT_TRUE(WaitFor([picker] { return !IsWindow(picker); }));

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(Answer(box, IDYES));
    auto stops = RequestsOf(kStopStation);
    ASSERT_EQ(stops.size(), 1u);
    // Listed in station order.
    EXPECT_STREQ(reinterpret_cast<const char*>(stops[0].input.data()), "Back Office");
}

// ---- Pages and addresses ---------------------------------------------------

const char kOpenedFile[] = "C:\\opened.txt";

// Registers a recorder as the program for web pages, web and mail
// addresses: it writes what it was given to open into a file.
class OpenedAddresses : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        DeleteFileA(kOpenedFile);
        const std::string recorder = std::string("C:\\windows\\system32\\cmd.exe /c echo %1>") + kOpenedFile;
        Put(HKEY_CLASSES_ROOT, ".htm", "", Text("htmlfile"));
        for (const char* kind : {"htmlfile", "Http", "Mailto"})
            Put(HKEY_CLASSES_ROOT, std::string(kind) + "\\Shell\\Open\\Command", "", Text(recorder));
        SetStation(1, "Front Desk", "mwclerk");
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        DeleteFileA(kOpenedFile);
    }

    // What the recorder was asked to open; empty when nothing came in time.
    static std::string Opened() {
        std::string line;
        WaitFor(
            [&] {
                std::ifstream file(kOpenedFile);
                return std::getline(file, line) && !line.empty();
            },
            5000, 50);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        return line;
    }

    test_support::RegistryBackup htm_{HKEY_CLASSES_ROOT, ".htm"};
    test_support::RegistryBackup htmlfile_{HKEY_CLASSES_ROOT, "htmlfile"};
    test_support::RegistryBackup http_{HKEY_CLASSES_ROOT, "Http"};
    test_support::RegistryBackup mailto_{HKEY_CLASSES_ROOT, "Mailto"};
};

class HelpCommand : public OpenedAddresses, public ::testing::WithParamInterface<UINT> {};

TEST_P(HelpCommand, OpensThePageBesideTheProgram) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Command(GetParam()));
    EXPECT_STRCASEEQ(Opened().c_str(), (test_support::ProgramFolder() + "\\zelto.htm").c_str());
    EXPECT_EQ(program_->WaitForMessageBox(300), nullptr);
}

INSTANTIATE_TEST_SUITE_P(EveryHelpCommand, HelpCommand,
                         ::testing::Values(ID_HELP_CMD, ID_HELP_INDEX_CMD, ID_DEFAULT_HELP_CMD, ID_CONTEXT_HELP_CMD,
                                           ID_HELP_USING_CMD));

TEST_F(OpenedAddresses, TheWebPageCommandOpensTheProductAddressWithoutADialog) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Command(ID_PRODUCT_WEB_PAGE));
    EXPECT_EQ(Opened(), LibraryText(IDS_PRODUCT_WEB_ADDRESS));
    EXPECT_EQ(program_->Windows().size(), 1u);
}

TEST_F(OpenedAddresses, WithoutAWebProgramTheWebPageCommandSaysSo) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "Http");
    ASSERT_NE(Start(), nullptr);
    PostMessageA(main_, WM_COMMAND, ID_PRODUCT_WEB_PAGE, 0);
    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    char expected[512] = {};
    snprintf(expected, sizeof expected, LibraryText(IDS_CANNOT_OPEN_ADDRESS).c_str(),
             LibraryText(IDS_PRODUCT_WEB_ADDRESS).c_str());
    EXPECT_EQ(test_support::MessageBoxText(box), expected);
    EXPECT_EQ(test_support::WindowText(box), LibraryText(IDS_APP_TITLE));
    ASSERT_TRUE(Answer(box, IDOK));
    DWORD attributes = GetFileAttributesA(kOpenedFile);
    EXPECT_EQ(attributes, INVALID_FILE_ATTRIBUTES) << "nothing was opened";
}

TEST_F(OpenedAddresses, TheSupportDialogShowsItsTextAndOpensTheWebAndMailAddresses) {
    ASSERT_NE(Start(), nullptr);
    PostMessageA(main_, WM_COMMAND, ID_SUPPORT_INFO, 0);
    HWND dialog = WaitForDialogWith(*program_, IDC_SUPPORT_TEXT);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_SUPPORT_TEXT), LibraryText(IDS_SUPPORT_TEXT));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_SUPPORT_WEB)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_SUPPORT_MAIL)));

    test_support::PressButton(dialog, IDC_SUPPORT_WEB);
    EXPECT_EQ(Opened(), LibraryText(IDS_SUPPORT_WEB_ADDRESS));
    DeleteFileA(kOpenedFile);
    test_support::PressButton(dialog, IDC_SUPPORT_MAIL);
    EXPECT_EQ(Opened(), LibraryText(IDS_SUPPORT_MAIL_ADDRESS));
    test_support::PressButton(dialog, IDOK);
    EXPECT_TRUE(WaitFor([dialog] { return !IsWindow(dialog); }));
}

TEST_F(OpenedAddresses, TheSupportDialogHidesTheButtonsThatCouldOnlyFail) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "Mailto");
    ASSERT_NE(Start(), nullptr);
    PostMessageA(main_, WM_COMMAND, ID_SUPPORT_INFO, 0);
    HWND dialog = WaitForDialogWith(*program_, IDC_SUPPORT_TEXT);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_SUPPORT_WEB)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_SUPPORT_MAIL)));
    EXPECT_EQ(program_->WaitForMessageBox(200), nullptr) << "hidden without a word";
    test_support::PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(WaitFor([dialog] { return !IsWindow(dialog); }));
}

// ---- Commands that open a dialog -------------------------------------------

struct DialogCommand {
    UINT command;
    const char* name;
    int dialogTemplate;
};

void PrintTo(const DialogCommand& command, std::ostream* out) {
    *out << command.name;
}

class OpensItsDialog : public MainWindowTest, public ::testing::WithParamInterface<DialogCommand> {};

// The control numbers of a window's children, in order.
std::vector<int> ControlIds(HWND window) {
    std::vector<int> ids;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(child));
    return ids;
}

// What tells a dialog made from the template: its caption and its controls
// (two templates may share a caption).
struct TemplateLook {
    std::string caption;
    std::vector<int> controls;
};

INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TemplateLook LookOf(int id) {
    HMODULE library = LoadLibraryExA("ZELTO.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    TemplateLook look;
    HWND dialog = CreateDialogParamA(library, MAKEINTRESOURCEA(id), nullptr, IgnoreMessages, 0);
    if (dialog) {
        look.caption = test_support::WindowText(dialog);
        look.controls = ControlIds(dialog);
        DestroyWindow(dialog);
    }
    FreeLibrary(library);
    return look;
}

TEST_P(OpensItsDialog, AndEndsWithIt) {
    // Running, so that there is someone to send a message to.
    SetStation(1, "Front Desk", "mwclerk", true);
    // The message log opens only on a message store.
    HKEY store = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kMessageStoreKey, &store), ERROR_SUCCESS);
    RegCloseKey(store);
    ASSERT_NE(Start(), nullptr);
    const TemplateLook look = LookOf(GetParam().dialogTemplate);
    ASSERT_FALSE(look.caption.empty());
    PostMessageA(main_, WM_COMMAND, GetParam().command, 0);
    HWND dialog =
        program_->WaitForWindow([&](HWND window) { return test_support::WindowText(window) == look.caption; });
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlIds(dialog), look.controls) << "made from template " << GetParam().dialogTemplate;
    EXPECT_FALSE(IsWindowEnabled(main_)) << "run modally";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([dialog] { return !IsWindow(dialog); }));
    EXPECT_TRUE(WaitFor([this] { return IsWindowEnabled(main_) != FALSE; }));
}

TEST_F(SeveralStations, WithoutAMessageStoreTheMessageLogSaysSoInsteadOfOpening) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);
    PostMessageA(main_, WM_COMMAND, ID_MESSAGE_LOG, 0);
    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_LOG_EMPTY));
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(WaitForDialogWith(*program_, IDC_LOG_LIST, 300), nullptr);
}

TEST_F(SeveralStations, TheStationCheckOfAOneStationSystemShowsThatStationUnderItsName) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);
    HWND dialog = Open(ID_STATION_CHECK, IDC_CHECK_REPORT);
    ASSERT_NE(dialog, nullptr) << "no picker on one station";
    EXPECT_NE(test_support::WindowText(dialog).find("Front Desk"), std::string::npos);
    test_support::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(Closed(dialog));
    EXPECT_TRUE(RequestsOf(0x801).empty()) << "closing resets nothing";
}

INSTANTIATE_TEST_SUITE_P(Commands, OpensItsDialog,
                         ::testing::Values(DialogCommand{ID_SUPPORT_INFO, "Support", IDD_SUPPORT},
                                           DialogCommand{ID_LIST_USERS, "Users", IDD_USER_LIST},
                                           DialogCommand{ID_RUNNING_PROGRAMS, "RunningPrograms", IDD_RUNNING_PROGRAMS},
                                           DialogCommand{ID_MESSAGE_LOG, "MessageLog", IDD_MESSAGE_LOG},
                                           DialogCommand{ID_APP_ABOUT_CMD, "About", IDD_ABOUT},
                                           DialogCommand{ID_SEND_MESSAGE, "SendMessage", IDD_SEND_MESSAGE},
                                           DialogCommand{ID_REMOVE_USER, "RemoveUser", IDD_USER_PICK},
                                           DialogCommand{ID_SHUTDOWN_SYSTEM, "ShutDown", IDD_SHUTDOWN},
                                           DialogCommand{ID_STATION_SETTINGS, "StationSettings",
                                                         IDD_SINGLE_STATION_SETTINGS}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
