// The station sheet: which stations get a page, how a page's port groups
// start out, the printer mode, and what OK tells the administrator and
// writes for the station and its ports.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config_fixture.h"
#include "program_driver.h"
#include "setup_sheet_fixture.h"

namespace {

const char kConfigManagerEnum[] = "Config Manager\\Enum";
// A device listing of our own, below those the host's start made.
const char kListedDevice[] = "CFFFF0001";

class StationSheet : public SetupSheetTest {
protected:
    static void SetUpTestSuite() {
        SetupSheetTest::SetUpTestSuite();
        portList_ = std::make_unique<config_test::KeptProfileSection>("Ports");
    }
    static void TearDownTestSuite() {
        portList_.reset();
        SetupSheetTest::TearDownTestSuite();
    }
    // Port names of their own: the other stations' default names begin at
    // COM5, and saving a station that does not use them takes them off the
    // port list.
    // Two stations on a marked board with serial 1 and the printer in use,
    // a third that was not found there, and a fourth on an unmarked board.
    void SetUp() override {
        SetupSheetTest::SetUp();
        for (const char* port : {"COM21", "COM22", "COM23", "COM24", "LPT13", "LPT14"})
            WriteProfileStringA("Ports", port, nullptr);
        SystemConfig model;
        model.boards[0].boardName = "Ternway PA-2";
        const char* names[] = {"Reception", "Back office", "Store", "Workshop"};
        for (int i = 0; i < 4; ++i) {
            StationConfig& station = model.stations[i];
            station.detected = i == 2 ? 0 : 1;
            station.boardNumber = i == 3 ? 1 : 0;
            station.stationName = names[i];
            station.defaultUser = "guest";
        }
        StationConfig& reception = model.stations[0];
        reception.serial1Enabled = 1;
        reception.serial1PortName = "COM21";
        reception.serial1Name = "Reception scanner";
        reception.serial2PortName = "COM22";
        reception.serial2Name = "Reception scale";
        reception.printerEnabled = 1;
        reception.printerPortName = "LPT13";
        reception.printerName = "Reception printer";
        model.SaveBoardsAndStations();
        // Whether a station was found is the driver's word, not the model's.
        for (int number : {1, 2, 4}) PutByte(StationKey(number), "Detected", 1);
        model_ = std::make_unique<SystemConfig>();
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_DYN_DATA, (std::string(kConfigManagerEnum) + "\\" + kListedDevice).c_str());
        SetupSheetTest::TearDown();
    }

    bool Run(const std::function<void(HWND sheet)>& work) {
        return RunSheet(*model_, false, IDC_SETUP_STATIONS, [&](HWND sheet) {
            sheet_ = sheet;
            work(sheet);
        });
    }
    // The restart messages that OK showed: the application's box with the
    // exclamation icon, owned by the sheet.
    std::vector<UINT> RestartMessages() const {
        std::vector<UINT> shown;
        for (const OwnedMessage& message : ownedMessages) {
            EXPECT_EQ(message.owner, sheet_);
            EXPECT_EQ(message.style, static_cast<UINT>(MB_ICONEXCLAMATION));
            shown.push_back(message.stringId);
        }
        return shown;
    }
    // Lists a device as present, as the configuration manager does at start.
    static void ListDevice(const std::string& hardwareKey) {
        HKEY key = nullptr;
        std::string path = std::string(kConfigManagerEnum) + "\\" + kListedDevice;
        ASSERT_EQ(RegCreateKeyA(HKEY_DYN_DATA, path.c_str(), &key), ERROR_SUCCESS);
        RegSetValueExA(key, "HardWareKey", 0, REG_SZ, reinterpret_cast<const BYTE*>(hardwareKey.c_str()),
                       static_cast<DWORD>(hardwareKey.size() + 1));
        RegCloseKey(key);
    }
    static std::string InPortList(const char* port) {
        char value[64] = {};
        GetProfileStringA("Ports", port, "(none)", value, sizeof value);
        return value;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownBox& box : boxes_) texts.push_back(box.text);
        return texts;
    }

    std::unique_ptr<SystemConfig> model_;
    HWND sheet_ = nullptr;
    static inline std::unique_ptr<config_test::KeptProfileSection> portList_;
};

const std::vector<UINT> kSwitched{IDS_PORTS_SWITCHED};
const std::vector<UINT> kRenamed{IDS_PORT_NAMES_CHANGED};

TEST_F(StationSheet, DetectedStationsOnMarkedBoardsGetAPageTitledWithTheirName) {
    std::vector<std::string> tabs;
    bool hiddenPage = false, unmarkedPage = true;
    ASSERT_TRUE(Run([&](HWND sheet) {
        tabs = Tabs(sheet);
        char caption[64] = {};
        GetWindowTextA(sheet, caption, sizeof caption);
        EXPECT_STREQ(caption, "Stations");
        hiddenPage = running_->stationPages[2] != nullptr;
        unmarkedPage = running_->stationPages[3] != nullptr;
        test_support::Click(sheet, IDCANCEL);
    }));
    EXPECT_EQ(tabs, (std::vector<std::string>{"Reception", "Back office"}));
    EXPECT_TRUE(hiddenPage) << "a station not found on a marked board has a page that is not shown";
    EXPECT_FALSE(unmarkedPage);
}

TEST_F(StationSheet, WithoutAMarkedBoardNothingIsShown) {
    model_->boards[0].boardName = "Station Adapter";
    model_->SaveBoardsAndStations();
    EXPECT_FALSE(Run([&](HWND sheet) { test_support::Click(sheet, IDCANCEL); }));
}

TEST_F(StationSheet, APortsSettingsButtonFollowsItsCheckBoxAndTheListedDevices) {
    // Only an exact listing counts; serial 2 is listed but not in use.
    ListDevice("root\\ternway\\app1port1");
    ASSERT_TRUE(Run([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Settle();
        EXPECT_TRUE(Enabled(sheet, kApplyButton)) << "the page starts out modified";
        EXPECT_EQ(test_support::ItemText(page, IDC_PAGE_SERIAL1_PORT), "COM21");
        EXPECT_TRUE(Enabled(page, IDC_PAGE_SERIAL1_PORT));
        EXPECT_TRUE(Enabled(page, IDC_PAGE_SERIAL1_NAME));
        EXPECT_FALSE(Enabled(page, IDC_PAGE_SERIAL1_SETTINGS)) << "its device is not listed yet";
        EXPECT_FALSE(Enabled(page, IDC_PAGE_SERIAL2_PORT));
        EXPECT_FALSE(Enabled(page, IDC_PAGE_SERIAL2_NAME));
        EXPECT_FALSE(Enabled(page, IDC_PAGE_SERIAL2_SETTINGS));
        EXPECT_TRUE(Enabled(page, IDC_PAGE_PRINTER_SETTINGS));

        ListDevice("Root\\Ternway\\App1Port2");
        test_support::Click(page, IDC_PAGE_SERIAL2);
        EXPECT_TRUE(Enabled(page, IDC_PAGE_SERIAL2_PORT));
        EXPECT_TRUE(Enabled(page, IDC_PAGE_SERIAL2_SETTINGS));
        EXPECT_EQ(GetFocus(), ::GetDlgItem(page, IDC_PAGE_SERIAL2_PORT));
        test_support::Click(page, IDC_PAGE_PRINTER);
        EXPECT_FALSE(Enabled(page, IDC_PAGE_PRINTER_SETTINGS));
        EXPECT_FALSE(Enabled(page, IDC_PAGE_PRINTER_NAME));
        test_support::Click(sheet, IDCANCEL);
    }));
}

TEST_F(StationSheet, ChangingOnlyThePrinterModeCountsAsSwitchingPorts) {
    bool checkedNormal = false;
    modeDialog_ = [&](HWND dialog) {
        checkedNormal = IsDlgButtonChecked(dialog, IDC_PRINTER_MODE_NORMAL) == BST_CHECKED;
        SendDlgItemMessageA(dialog, IDC_PRINTER_MODE_ALTERNATE, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    };
    ASSERT_TRUE(Run([&](HWND sheet) {
        test_support::Click(CurrentPage(sheet), IDC_PAGE_PRINTER_SETTINGS);
        test_support::Click(sheet, IDOK);
    }));
    EXPECT_TRUE(checkedNormal);
    EXPECT_EQ(RestartMessages(), kSwitched);
    EXPECT_EQ(SystemConfig().stations[0].printerEnabled, 2u);
}

TEST_F(StationSheet, ACancelledPrinterModeDialogChangesNothing) {
    ASSERT_TRUE(Run([&](HWND sheet) {
        test_support::Click(CurrentPage(sheet), IDC_PAGE_PRINTER_SETTINGS);  // cancelled by the fixture
        test_support::Click(sheet, IDOK);
    }));
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(RestartMessages().empty());
    EXPECT_EQ(SystemConfig().stations[0].printerEnabled, 1u);
}

TEST_F(StationSheet, ANameAndAPortChangedTogetherSayRenamedOnceAndLoseTheOldListEntry) {
    ASSERT_TRUE(Run([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        // The name of another detected station, in another case, is refused
        // and the sheet stays open.
        Type(page, IDC_PAGE_STATION_NAME, "BACK OFFICE");
        test_support::Click(sheet, IDOK);
        EXPECT_TRUE(IsWindow(sheet));
        EXPECT_EQ(shownMessages, std::vector<UINT>{IDS_STATION_NAME_TAKEN});
        Type(page, IDC_PAGE_STATION_NAME, "Reception");
        Type(page, IDC_PAGE_SERIAL1_NAME, "Reception modem");
        Type(page, IDC_PAGE_SERIAL1_PORT, "COM23");
        test_support::Click(sheet, IDOK);
    }));
    EXPECT_EQ(RestartMessages(), kRenamed);
    EXPECT_EQ(InPortList("COM21"), "(none)");
    EXPECT_EQ(InPortList("COM23"), "");
    SystemConfig stored;
    EXPECT_EQ(stored.stations[0].serial1PortName, "COM23");
    EXPECT_EQ(stored.stations[0].serial1Name, "Reception modem");
}

TEST_F(StationSheet, TwoRenamedPortsLoseBothOldListEntries) {
    // Serial 2 in use under COM22 first, with its entry in the port list.
    model_->stations[0].serial2Enabled = 1;
    model_->SaveAll();
    ASSERT_EQ(InPortList("COM22"), "");
    ASSERT_TRUE(Run([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Type(page, IDC_PAGE_SERIAL1_PORT, "COM23");
        Type(page, IDC_PAGE_SERIAL2_PORT, "COM24");
        test_support::Click(sheet, IDOK);
    }));
    EXPECT_EQ(RestartMessages(), kRenamed);
    EXPECT_EQ(InPortList("COM21"), "(none)");
    EXPECT_EQ(InPortList("COM22"), "(none)");
    EXPECT_EQ(InPortList("COM23"), "");
    EXPECT_EQ(InPortList("COM24"), "");
}

TEST_F(StationSheet, ACheckedPortIsRegisteredWithTheSystem) {
    const std::string hardware = "Enum\\Root\\Ternway\\App1Port2",
                      driver = "System\\CurrentControlSet\\Services\\Class\\Ports\\App1Port2";
    ASSERT_FALSE(KeyExists(hardware));
    ASSERT_TRUE(Run([&](HWND sheet) {
        test_support::Click(CurrentPage(sheet), IDC_PAGE_SERIAL2);
        test_support::Click(sheet, IDOK);
    }));
    EXPECT_EQ(RestartMessages(), kSwitched);
    std::string bytes;
    auto text = [&](const std::string& key, const char* name) {
        return Stored(key, name, &bytes) == REG_SZ ? bytes.substr(0, bytes.find('\0')) : "(none)";
    };
    auto binary = [&](const std::string& key, const char* name) {
        return Stored(key, name, &bytes) == REG_BINARY ? bytes : "(none)";
    };
    EXPECT_EQ(text(hardware, "PortName"), "COM22");
    EXPECT_EQ(text(hardware, "FriendlyName"), "Reception scale");
    EXPECT_EQ(text(hardware, "HardwareID"), "Ternway Serial Port");
    EXPECT_EQ(text(hardware, "Driver"), "Ports\\App1Port2");
    EXPECT_EQ(binary(hardware, "PortNum"), std::string(1, '\2'));
    EXPECT_EQ(binary(hardware, "Station"), std::string(1, '\1'));
    EXPECT_EQ(text(driver, "InfSection"), "ComPort");
    EXPECT_EQ(text(driver, "PortDriver"), "Serlink.vxd");
    EXPECT_EQ(text(driver, "EnumPropPages"), "Serlink.dll,EnumPropPages");
    EXPECT_EQ(binary(driver, "DCB").size(), 28u);
    EXPECT_EQ(InPortList("COM22"), "");
    EXPECT_EQ(SystemConfig().stations[0].serial2Enabled, 1u);
}

TEST_F(StationSheet, AnUncheckedPortIsStoredOffAndLosesItsRegistration) {
    ASSERT_TRUE(KeyExists("Enum\\Root\\Ternway\\App1Port1"));
    ASSERT_EQ(InPortList("LPT13"), "");
    ASSERT_TRUE(Run([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        // Renamed while unchecked: its old name leaves the port list too.
        Type(page, IDC_PAGE_SERIAL1_PORT, "COM23");
        // Renamed with a switch: the old name goes, the new one is listed.
        Type(page, IDC_PAGE_PRINTER_PORT, "LPT14");
        test_support::Click(page, IDC_PAGE_SERIAL1);
        Type(page, IDC_PAGE_STATION_NAME, "Front desk");
        test_support::Click(page, IDC_PAGE_AUTOLAUNCH);
        test_support::Click(sheet, IDOK);
    }));
    EXPECT_EQ(RestartMessages(), kSwitched);
    SystemConfig stored;
    EXPECT_EQ(stored.stations[0].serial1Enabled, 0u);
    EXPECT_EQ(stored.stations[0].stationName, "Front desk");
    EXPECT_EQ(stored.stations[0].autoLaunch, 1u);
    EXPECT_FALSE(KeyExists("Enum\\Root\\Ternway\\App1Port1"));
    EXPECT_EQ(InPortList("COM21"), "(none)");
    EXPECT_EQ(InPortList("COM23"), "(none)");
    EXPECT_EQ(InPortList("LPT13"), "(none)");
    EXPECT_EQ(InPortList("LPT14"), "");
}

TEST_F(StationSheet, ADefaultUserTooLongIsRefusedAndNothingIsWritten) {
    bool stayed = false;
    ASSERT_TRUE(Run([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        SendDlgItemMessageA(page, IDC_PAGE_DEFAULT_USER, EM_LIMITTEXT, 0, 0);
        Type(page, IDC_PAGE_DEFAULT_USER, std::string(21, 'u'));
        Type(page, IDC_PAGE_STATION_NAME, "Front desk");
        test_support::Click(sheet, IDOK);
        stayed = CurrentPage(sheet) == page;
        test_support::Click(sheet, IDCANCEL);
    }));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Please enter no more than 20 characters."});
    SystemConfig stored;
    EXPECT_EQ(stored.stations[0].defaultUser, "guest");
    EXPECT_EQ(stored.stations[0].stationName, "Reception");
}

}  // namespace

namespace {

TEST_F(StationSheet, BothSheetsStartFromTheRegistryAsTheStationSideLeftIt) {
    // The station side launches Reception for bob after the model was read.
    for (int button : {IDC_SETUP_STATIONS, IDC_SETUP_BOARDS}) {
        PutByte(StationKey(1), "Launched", 1);
        PutString(StationKey(1), "Logged In User", "bob");
        ASSERT_TRUE(RunSheet(*model_, false, button, [&](HWND sheet) { test_support::Click(sheet, IDOK); })) << button;
        SystemConfig stored;
        EXPECT_EQ(stored.stations[0].launched, 1u) << button;
        EXPECT_EQ(stored.stations[0].loggedInUser, "bob") << button;
        PutByte(StationKey(1), "Launched", 0);
    }
}

TEST_F(StationSheet, LineSettingsForAPortTheSystemDoesNotKnowEndSilently) {
    ListDevice("Root\\Ternway\\App1Port1");
    ASSERT_TRUE(Run([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Type(page, IDC_PAGE_SERIAL1_PORT, "NOSUCH");
        test_support::Click(page, IDC_PAGE_SERIAL1);  // takes the text into the page
        test_support::Click(page, IDC_PAGE_SERIAL1);
        ASSERT_TRUE(Enabled(page, IDC_PAGE_SERIAL1_SETTINGS));
        test_support::Click(page, IDC_PAGE_SERIAL1_SETTINGS);
        test_support::Click(sheet, IDCANCEL);
    }));
    EXPECT_TRUE(boxes_.empty());
}

}  // namespace
