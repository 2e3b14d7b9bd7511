// Port registration against the test host: the hardware and driver keys as
// the configuration manager expects them, byte for byte, and the port list
// in C:\windows\win.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "config_fixture.h"
#include "file_backup.h"
#include "host_folders.h"
#include "port_registration.h"
#include "resource_ids.h"

using namespace config_test;

namespace {

const std::string kHardwareBranch = "Enum\\Root\\Ternway";
const std::string kDriverBranch = "System\\CurrentControlSet\\Services\\Class\\Ports";
const char* const kTestPorts[] = {"COM5", "COM6", "COM9", "LPT3"};

class PortRegistrationTest : public ConfigSuite {
protected:
    static void SetUpTestSuite() {
        ConfigSuite::SetUpTestSuite();
        hardware_ = std::make_unique<KeptKey>(HKEY_LOCAL_MACHINE, kHardwareBranch);
        driver_ = std::make_unique<KeptKey>(HKEY_LOCAL_MACHINE, kDriverBranch);
        portList_ = std::make_unique<KeptProfileSection>("Ports");
    }
    static void TearDownTestSuite() {
        portList_.reset();
        driver_.reset();
        hardware_.reset();
        ConfigSuite::TearDownTestSuite();
    }
    void SetUp() override {
        ConfigSuite::SetUp();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kHardwareBranch.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kDriverBranch.c_str());
        for (const char* port : kTestPorts) WriteProfileStringA("Ports", port, nullptr);
        WriteProfileStringA(nullptr, nullptr, nullptr);
    }

    // The library's own text, read without the code under test.
    static std::string LibraryText(UINT id) {
        char buffer[256];
        int length = LoadStringA(library_, id, buffer, sizeof buffer);
        return length > 0 ? std::string(buffer, length) : std::string();
    }
    static std::string Hardware(int station, int port) {
        return kHardwareBranch + "\\App" + std::to_string(station) + "Port" + std::to_string(port);
    }
    static std::string Driver(int station, int port) {
        return kDriverBranch + "\\App" + std::to_string(station) + "Port" + std::to_string(port);
    }
    static std::string WinIniPath() { return test_support::WindowsFile("win.ini"); }
    static bool ListedInWinIni(const std::string& port) {
        auto lines = WinIniSection("Ports");
        return std::find(lines.begin(), lines.end(), port + "=") != lines.end();
    }

    static inline std::unique_ptr<KeptKey> hardware_, driver_;
    static inline std::unique_ptr<KeptProfileSection> portList_;
};

// The default line settings of a serial port: the system's 28-byte device
// control block for 9600 baud, 8 data bits, no parity, one stop bit.
const std::vector<uint8_t> kDcb = {0x1C, 0x00, 0x00, 0x00, 0x80, 0x25, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                   0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x11, 0x13, 0x00, 0x00, 0x00, 0x00, 0x00};

// --- key paths -------------------------------------------------------------

TEST_F(PortRegistrationTest, KeyPathsComeFromTheLibraryTemplates) {
    EXPECT_EQ(PortHardwareKey(2, 1), "Enum\\Root\\Ternway\\App2Port1");
    EXPECT_EQ(PortHardwareKey(8, 3), "Enum\\Root\\Ternway\\App8Port3");
    EXPECT_EQ(PortDriverKey(2, 1), "System\\CurrentControlSet\\Services\\Class\\Ports\\App2Port1");
    EXPECT_EQ(PortDriverKey(8, 3), "System\\CurrentControlSet\\Services\\Class\\Ports\\App8Port3");
}

TEST_F(PortRegistrationTest, WithoutTheLibraryNothingIsWrittenOrDeleted) {
    CreateKey(HKEY_LOCAL_MACHINE, Hardware(1, 1));
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(PortHardwareKey(1, 1), "");
    RegisterSerialPort(1, 2, "COM5", "Serial");
    UnregisterPort(1, 1);
    AfxSetResourceHandle(library_);
    // No value landed in the root of the hive, and no key went.
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, "", "PortName"));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, "", "DevLoader"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Hardware(1, 1)));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software"));
}

// --- the keys of a registered port -------------------------------------------
//
// Wine lists a key's values sorted by name, not in the order they were
// written; the lists below are in both orders at once, so comparing whole
// lists also proves that nothing else was written.

TEST_F(PortRegistrationTest, SerialPortGetsTheCompleteHardwareKey) {
    RegisterSerialPort(3, 1, "COM5", "Station 3 Serial 1");
    const std::vector<Value> expected = {
        Text("Class", "Ports"),
        Binary("ConfigFlags", {0, 0, 0, 0}),
        Text("DeviceDesc", "Station 3 Serial 1"),
        Text("Driver", "Ports\\App3Port1"),
        Text("FriendlyName", "Station 3 Serial 1"),
        Text("HardwareID", "Ternway Serial Port"),
        Text("HWRevision", LibraryText(IDS_PRODUCT_VERSION)),
        Text("Mfg", "Quillon, Inc."),
        Text("PortName", "COM5"),
        Binary("PortNum", {1}),
        Binary("Station", {3}),
    };
    EXPECT_EQ(Values(HKEY_LOCAL_MACHINE, Hardware(3, 1)), expected);
    EXPECT_FALSE(LibraryText(IDS_PRODUCT_VERSION).empty());
}

TEST_F(PortRegistrationTest, SerialPortGetsTheCompleteDriverKey) {
    RegisterSerialPort(3, 2, "COM6", "Station 3 Serial 2");
    const std::vector<Value> expected = {
        Text("ConfigDialog", "Serlink.dll"),
        Binary("DCB", kDcb),
        Text("DevLoader", "*vcomm"),
        Text("DriverDate", LibraryText(IDS_DRIVER_DATE)),
        Text("DriverDesc", "Station 3 Serial 2"),
        Text("DriverVersion", LibraryText(IDS_PRODUCT_VERSION)),
        Text("EnumPropPages", "Serlink.dll,EnumPropPages"),
        Text("InfPath", "MSPORTS.INF"),
        Text("InfSection", "ComPort"),
        Text("PortDriver", "Serlink.vxd"),
        Binary("PortSubClass", {1}),
        Text("ProviderName", "Quillon, Inc."),
    };
    EXPECT_EQ(Values(HKEY_LOCAL_MACHINE, Driver(3, 2)), expected);
    EXPECT_FALSE(LibraryText(IDS_DRIVER_DATE).empty());
    // The second serial port of the station is port 2 everywhere.
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Hardware(3, 2), "Driver"), Text("Driver", "Ports\\App3Port2"));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Hardware(3, 2), "PortNum"), Binary("PortNum", {2}));

    // The line settings the administrator chose for the port stay when it is
    // registered again; a block that is not whole gets the default.
    std::vector<uint8_t> chosen = kDcb;
    chosen[4] = 0x00;
    chosen[5] = 0x4B;  // 19200 baud
    test_support::PutValue(HKEY_LOCAL_MACHINE, Driver(3, 2), "DCB", REG_BINARY,
                           std::string(chosen.begin(), chosen.end()));
    RegisterSerialPort(3, 2, "COM6", "Station 3 Serial 2");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Driver(3, 2), "DCB"), Binary("DCB", chosen));
    test_support::PutValue(HKEY_LOCAL_MACHINE, Driver(3, 2), "DCB", REG_BINARY, std::string(5, '\x01'));
    RegisterSerialPort(3, 2, "COM6", "Station 3 Serial 2");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Driver(3, 2), "DCB"), Binary("DCB", kDcb));
}

TEST_F(PortRegistrationTest, PrinterPortGetsItsOwnHardwareAndDriverKeys) {
    RegisterPrinterPort(8, 3, "LPT3", "Station 8 Printer");
    const std::vector<Value> hardware = {
        Text("Class", "Ports"),
        Binary("ConfigFlags", {0, 0, 0, 0}),
        Text("DeviceDesc", "Station 8 Printer"),
        Text("Driver", "Ports\\App8Port3"),
        Text("FriendlyName", "Station 8 Printer"),
        Text("HardwareID", "Ternway Parallel Port"),
        Text("HWRevision", LibraryText(IDS_PRODUCT_VERSION)),
        Text("Mfg", "Quillon, Inc."),
        Text("PortName", "LPT3"),
        Binary("PortNum", {3}),
        Binary("Station", {8}),
    };
    const std::vector<Value> driver = {
        Text("DevLoader", "*vcomm"),
        Text("DriverDate", LibraryText(IDS_DRIVER_DATE)),
        Text("DriverDesc", "Station 8 Printer"),
        Text("DriverVersion", LibraryText(IDS_PRODUCT_VERSION)),
        Text("InfPath", "MSPORTS.INF"),
        Text("InfSection", "LptPort"),
        Text("PortDriver", "Serlink.vxd"),
        Binary("PortSubClass", {0}),
        Text("ProviderName", "Quillon, Inc."),
    };
    EXPECT_EQ(Values(HKEY_LOCAL_MACHINE, Hardware(8, 3)), hardware);
    EXPECT_EQ(Values(HKEY_LOCAL_MACHINE, Driver(8, 3)), driver);
}

TEST_F(PortRegistrationTest, RegisteringAgainKeepsValuesOutsideTheLists) {
    WriteValue(HKEY_LOCAL_MACHINE, Hardware(2, 1), Text("Extra", "kept"));
    WriteValue(HKEY_LOCAL_MACHINE, Driver(2, 1), Binary("Extra", {7}));
    RegisterSerialPort(2, 1, "COM5", "Old Name");
    RegisterSerialPort(2, 1, "COM9", "New Name");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Hardware(2, 1), "Extra"), Text("Extra", "kept"));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Driver(2, 1), "Extra"), Binary("Extra", {7}));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Hardware(2, 1), "PortName"), Text("PortName", "COM9"));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Hardware(2, 1), "FriendlyName"), Text("FriendlyName", "New Name"));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Driver(2, 1), "DriverDesc"), Text("DriverDesc", "New Name"));
    EXPECT_EQ(Values(HKEY_LOCAL_MACHINE, Hardware(2, 1)).size(), 12u);
    EXPECT_EQ(Values(HKEY_LOCAL_MACHINE, Driver(2, 1)).size(), 13u);
}

TEST_F(PortRegistrationTest, ALongFriendlyNameIsCutNotOverrun) {
    RegisterSerialPort(1, 1, "COM5", std::string(600, 'f'));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Hardware(1, 1), "FriendlyName"),
              Text("FriendlyName", std::string(511, 'f')));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, Hardware(1, 1), "Station"), Binary("Station", {1}));
}

// --- taking a port out -------------------------------------------------------

TEST_F(PortRegistrationTest, UnregisterDeletesBothKeysWithEverythingBelowThem) {
    RegisterSerialPort(4, 1, "COM5", "Serial 1");
    RegisterSerialPort(4, 2, "COM6", "Serial 2");
    CreateKey(HKEY_LOCAL_MACHINE, Hardware(4, 1) + "\\Device Parameters");
    CreateKey(HKEY_LOCAL_MACHINE, Driver(4, 1) + "\\Settings\\Deeper");
    UnregisterPort(4, 1);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Hardware(4, 1)));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Driver(4, 1)));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Hardware(4, 2)));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Driver(4, 2)));
}

TEST_F(PortRegistrationTest, UnregisterSkipsMissingKeysQuietly) {
    // Only the driver key is left over, from an earlier half-done removal.
    CreateKey(HKEY_LOCAL_MACHINE, Driver(5, 3));
    UnregisterPort(5, 3);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Driver(5, 3)));
    UnregisterPort(6, 1);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Hardware(6, 1)));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Driver(6, 1)));
}

// --- the port list in win.ini ------------------------------------------------

TEST_F(PortRegistrationTest, AnEntryReachesWinIniWithAnEmptyValue) {
    AddPortListEntry("COM5");
    FlushPortList();
    EXPECT_EQ(ProfileEntry("Ports", "COM5"), "");
    EXPECT_TRUE(ListedInWinIni("COM5"));
    // The host's own ports stay as they were.
    EXPECT_EQ(ProfileEntry("Ports", "COM1:"), "9600,n,8,1,x");
}

TEST_F(PortRegistrationTest, DisablingAPortTakesItOutOfBothPlaces) {
    RegisterSerialPort(2, 2, "COM6", "Serial 2");
    AddPortListEntry("COM6");
    FlushPortList();
    ASSERT_TRUE(ListedInWinIni("COM6"));

    UnregisterPort(2, 2);
    RemovePortListEntry("COM6");
    FlushPortList();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Hardware(2, 2)));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Driver(2, 2)));
    EXPECT_EQ(ProfileEntry("Ports", "COM6"), std::nullopt);
    EXPECT_FALSE(ListedInWinIni("COM6"));
}

TEST_F(PortRegistrationTest, DisablingAPortThatWasNeverThereChangesNothingElse) {
    const auto before = WinIniSection("Ports");
    UnregisterPort(7, 3);
    RemovePortListEntry("LPT3");
    FlushPortList();
    EXPECT_EQ(WinIniSection("Ports"), before);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Hardware(7, 3)));
}

TEST_F(PortRegistrationTest, ARenamedPortKeepsItsOldEntryUntilItIsRemoved) {
    AddPortListEntry("COM5");
    AddPortListEntry("COM9");
    FlushPortList();
    EXPECT_TRUE(ListedInWinIni("COM5"));
    EXPECT_TRUE(ListedInWinIni("COM9"));
    RemovePortListEntry("COM5");
    FlushPortList();
    EXPECT_FALSE(ListedInWinIni("COM5"));
    EXPECT_TRUE(ListedInWinIni("COM9"));
}

// A name from a damaged registry would otherwise be written as it stands:
// a line break starts a section of its own, '=' ends the entry's name early.
TEST_F(PortRegistrationTest, APortNameThatNoEntryCanHoldTouchesNoLine) {
    test_support::FileBackup winIni(WinIniPath());
    for (const char* name : {"COM7\r\n[windows]\r\nload=evil.exe", "COM7=x", "[windows]", " ;COM7", "  ",
                             "COM\x01"
                             "7"}) {
        AddPortListEntry(name);
        RemovePortListEntry(name);
        FlushPortList();
        EXPECT_EQ(test_support::ReadFileBytes(WinIniPath()), winIni.Original()) << name;
    }
    AddPortListEntry("Caf\xE9 7");
    FlushPortList();
    EXPECT_TRUE(ListedInWinIni("Caf\xE9 7")) << "a code-page letter is a letter like any other";
}

TEST_F(PortRegistrationTest, AnEmptyPortNameTouchesNoEntry) {
    const auto before = WinIniSection("Ports");
    AddPortListEntry("");
    RemovePortListEntry("");
    FlushPortList();
    EXPECT_EQ(WinIniSection("Ports"), before);
    EXPECT_FALSE(before.empty());
}

}  // namespace
