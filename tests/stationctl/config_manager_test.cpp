#include "config_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "registry_backup.h"
#include "registry_helpers.h"
#include "run_command.h"

using namespace stationctl;

namespace {
const std::string kSetup = "Software\\Quillon\\Orvanta\\Setup";
const std::string kPorts = "Enum\\Root\\Ternway";
const std::string kLive = "Config Manager\\Enum";
}  // namespace

TEST(ParsePortKeyName, ReadsStationAndPort) {
    auto port = ParsePortKeyName("App3Port2");
    ASSERT_TRUE(port);
    EXPECT_EQ(port->station, 3);
    EXPECT_EQ(port->port, 2);
    port = ParsePortKeyName("APP12PORT999");
    ASSERT_TRUE(port);
    EXPECT_EQ(port->station, 12);
    EXPECT_EQ(port->port, 999);
}

TEST(ParsePortKeyName, RefusesWhatIsNotAPortKey) {
    for (const char* name : {"Board1", "App1", "App1Port", "AppPort1", "App1Port2x", "App01Port1", "App1Port0",
                             "App0Port1", "App1000Port1", "App1Port1000", "App-1Port1", "xApp1Port1", ""}) {
        EXPECT_FALSE(ParsePortKeyName(name)) << name;
    }
}

TEST(PresentDevices, BoardsThenPortsInStationAndPortOrder) {
    auto devices = PresentDevices({true, false, true, false}, {"App2Port1", "App1Port3", "Notes", "App1Port1"});
    std::vector<std::string> keys;
    for (const auto& device : devices) keys.push_back(device.hardwareKey);
    std::vector<std::string> expected = {"Root\\Ternway\\Board1", "Root\\Ternway\\Board3", "Root\\Ternway\\App1Port1",
                                         "Root\\Ternway\\App1Port3", "Root\\Ternway\\App2Port1"};
    EXPECT_EQ(keys, expected);
}

TEST(PresentDevices, PciFunctionsComeLastInTheOrderGiven) {
    auto devices = PresentDevices({true, false, false, false}, {"App1Port1"},
                                  {"VEN_1023&DEV_9880\\BUS_01", "VEN_8086&DEV_7190\\BUS_00"});
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[2].hardwareKey, "PCI\\VEN_1023&DEV_9880\\BUS_01");
    EXPECT_EQ(devices[3].hardwareKey, "PCI\\VEN_8086&DEV_7190\\BUS_00");
    EXPECT_NE(devices[2].nodeName, devices[3].nodeName);
}

TEST(PresentDevices, HardwareKeyIsSpeltAsTheStationSheetLooksForIt) {
    // The sheet compares case-sensitively with "Root\Ternway\App%dPort%d".
    auto devices = PresentDevices({}, {"APP4PORT2"});
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].hardwareKey, "Root\\Ternway\\App4Port2");
}

TEST(PresentDevices, NodeNamesAreUniqueAndFollowFromTheDevice) {
    std::vector<std::string> ports;
    for (int station = 1; station <= 20; ++station)
        for (int port = 1; port <= 20; ++port)
            ports.push_back("App" + std::to_string(station) + "Port" + std::to_string(port));
    auto devices = PresentDevices({true, true, true, true}, ports);
    std::set<std::string> names;
    for (const auto& device : devices) {
        EXPECT_EQ(device.nodeName.size(), 9u);
        EXPECT_EQ(device.nodeName[0], 'C');
        EXPECT_EQ(device.nodeName.find_first_not_of("0123456789ABCDEF", 1), std::string::npos) << device.nodeName;
        names.insert(device.nodeName);
    }
    EXPECT_EQ(names.size(), devices.size());
    // A port keeps its name whatever else is present.
    auto alone = PresentDevices({}, {"App7Port2"});
    auto withOthers = PresentDevices({true, true, false, false}, {"App1Port1", "App7Port2"});
    EXPECT_EQ(alone[0].nodeName, withOthers.back().nodeName);
}

class RestartTest : public ::testing::Test {
protected:
    void SetUp() override {
        setup_ = std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE, kSetup);
        ports_ = std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE, kPorts);
        live_ = std::make_unique<test_support::RegistryBackup>(HKEY_DYN_DATA, kLive);
        pci_ = std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE, "Enum\\Pci");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Enum\\Pci");
        for (int board = 1; board <= 4; ++board)
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kSetup + "\\Board" + std::to_string(board)).c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPorts.c_str());
        RegDeleteTreeA(HKEY_DYN_DATA, kLive.c_str());
    }
    void TearDown() override {
        pci_.reset();
        live_.reset();
        ports_.reset();
        setup_.reset();
    }

    // What the station sheet does to learn whether a port's device is live.
    static bool ListedLive(const std::string& hardwareKey) {
        for (const std::string& name : Subkeys(HKEY_DYN_DATA, kLive)) {
            if (name.empty() || name[0] != 'C') continue;
            if (ReadText(HKEY_DYN_DATA, kLive + "\\" + name, "HardWareKey") == hardwareKey) return true;
        }
        return false;
    }

private:
    std::unique_ptr<test_support::RegistryBackup> setup_, ports_, live_, pci_;
};

TEST_F(RestartTest, ListsEveryPortKeyAndDetectedBoard) {
    WriteText(HKEY_LOCAL_MACHINE, kPorts + "\\App1Port1", "PortName", "COM5");
    WriteText(HKEY_LOCAL_MACHINE, kPorts + "\\App1Port3", "PortName", "LPT4");
    WriteText(HKEY_LOCAL_MACHINE, kPorts + "\\App2Port1", "PortName", "COM7");
    CreateKey(HKEY_LOCAL_MACHINE, kPorts + "\\Notes");
    WriteBinary(HKEY_LOCAL_MACHINE, kSetup + "\\Board1", "Detected", {1});
    WriteBinary(HKEY_LOCAL_MACHINE, kSetup + "\\Board2", "Detected", {0});
    CreateKey(HKEY_LOCAL_MACHINE, kSetup + "\\Board3");
    WriteText(HKEY_LOCAL_MACHINE, "Enum\\Pci\\VEN_1023&DEV_9880\\BUS_01&DEV_00&FUNC_00", "DeviceDesc", "Display");

    CommandRun run = RunCommand({"restart"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "C20000001 Root\\Ternway\\Board1\n"
              "C10010001 Root\\Ternway\\App1Port1\n"
              "C10010003 Root\\Ternway\\App1Port3\n"
              "C10020001 Root\\Ternway\\App2Port1\n"
              "C30000000 PCI\\VEN_1023&DEV_9880\\BUS_01&DEV_00&FUNC_00\n");

    auto nodes = Subkeys(HKEY_DYN_DATA, kLive);
    std::sort(nodes.begin(), nodes.end());
    EXPECT_EQ(nodes, (std::vector<std::string>{"C10010001", "C10010003", "C10020001", "C20000001", "C30000000"}));
    for (const std::string& node : nodes) {
        for (const char* name : {"Status", "Problem"}) {
            auto value = ReadRaw(HKEY_DYN_DATA, kLive + "\\" + node, name);
            ASSERT_TRUE(value) << node << " " << name;
            EXPECT_EQ(value->type, static_cast<DWORD>(REG_BINARY));
            EXPECT_EQ(value->bytes, (std::vector<uint8_t>{0, 0, 0, 0}));
        }
    }
    EXPECT_TRUE(ListedLive("Root\\Ternway\\App1Port1"));
    EXPECT_TRUE(ListedLive("Root\\Ternway\\App2Port1"));
    EXPECT_TRUE(ListedLive("Root\\Ternway\\Board1"));
    EXPECT_FALSE(ListedLive("Root\\Ternway\\App1Port2"));
    EXPECT_FALSE(ListedLive("Root\\Ternway\\Board2"));
}

TEST_F(RestartTest, ForgetsDevicesThatAreGoneButKeepsTheListKey) {
    WriteText(HKEY_LOCAL_MACHINE, kPorts + "\\App1Port1", "PortName", "COM5");
    // Left from an earlier start: a node with a subkey of its own, which a
    // plain key deletion would refuse.
    WriteText(HKEY_DYN_DATA, kLive + "\\C0FFEE00", "HardWareKey", "Root\\Ternway\\App3Port1");
    CreateKey(HKEY_DYN_DATA, kLive + "\\C0FFEE00\\Child");
    WriteText(HKEY_DYN_DATA, kLive, "Kept", "yes");

    ASSERT_EQ(RunCommand({"restart"}).exitCode, 0);
    EXPECT_EQ(Subkeys(HKEY_DYN_DATA, kLive), std::vector<std::string>{"C10010001"});
    EXPECT_FALSE(ListedLive("Root\\Ternway\\App3Port1"));
    EXPECT_EQ(ReadText(HKEY_DYN_DATA, kLive, "Kept"), "yes");

    // The port is unregistered: after the next start it is no longer live.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kPorts + "\\App1Port1").c_str());
    CommandRun run = RunCommand({"restart"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(KeyExists(HKEY_DYN_DATA, kLive));
    EXPECT_TRUE(Subkeys(HKEY_DYN_DATA, kLive).empty());
}

TEST_F(RestartTest, GivesTheSameNamesEveryTime) {
    WriteText(HKEY_LOCAL_MACHINE, kPorts + "\\App5Port2", "PortName", "COM14");
    WriteBinary(HKEY_LOCAL_MACHINE, kSetup + "\\Board4", "Detected", {1});
    CommandRun first = RunCommand({"restart"});
    CommandRun second = RunCommand({"restart"});
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, second.out);
    EXPECT_EQ(Subkeys(HKEY_DYN_DATA, kLive).size(), 2u);
}

TEST_F(RestartTest, TakesNoArguments) {
    CommandRun run = RunCommand({"restart", "now"});
    EXPECT_EQ(run.exitCode, kExitBadArguments);
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_FALSE(KeyExists(HKEY_DYN_DATA, kLive));
}
