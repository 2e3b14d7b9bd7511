// The station printers and ports that earlier product versions left: the
// printers moved from the ports named after the stations to the stations'
// LPT ports, the old port monitor file handed to Wininit.ini, the old print
// monitor's registration and, at uninstallation, the stations' port devices.
#include <cstdlib>
#include <cstring>

#include "cleanup_fixture.h"
#include "profile_section.h"
#include "registry_values.h"

namespace {

using namespace cleanup_test;
using test_support::FileExists;
using test_support::ReadFileBytes;

// 1500 entries NAME0..NAME1499 of the one value, as a profile section's
// entries: more than the 32K of a section that Windows 95 and 98 read.
std::string LongerThanA9xRead(const std::string& name, const std::string& value) {
    std::string entries;
    for (int n = 0; n < 1500; ++n) entries += name + std::to_string(n) + "=" + value + '\0';
    return entries;
}
using test_support::WriteFileBytes;

// The [rename] entry that deletes the old port monitor: WININIT.EXE reads
// 8.3 names only, so the file goes by its short path.
std::string MonitorEntry(const char* file = kOldPortMonitorFile) {
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(file, shortPath, sizeof shortPath);
    return std::string("NUL=") + shortPath;
}

// Whether every part of the path is a name of at most eight characters and
// an extension of at most three, without spaces.
bool IsShortPath(const std::string& path) {
    for (size_t start = 3; start <= path.size();) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        const size_t dot = std::min(part.find('.'), part.size());
        if (part.empty() || part.find(' ') != std::string::npos || dot > 8 || part.size() - dot > 4) return false;
        start = end + 1;
    }
    return true;
}

struct Stored {
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const Stored& other) const { return type == other.type && bytes == other.bytes; }
};

Stored Text(const std::string& text) {
    return {REG_SZ, text + '\0'};
}
Stored Bytes(const std::string& bytes) {
    return {REG_BINARY, bytes};
}

using test_support::KeyExists;

// Every value of a key (not of its subkeys), by name.
std::vector<std::pair<std::string, Stored>> Values(const std::string& path) {
    std::vector<std::pair<std::string, Stored>> values;
    for (const auto& [where, value] : test_support::AllValues(HKEY_LOCAL_MACHINE, path)) {
        const size_t bar = where.find('|');
        if (where.compare(0, bar, path) == 0 && bar == path.size())
            values.emplace_back(where.substr(bar + 1), Stored{value.first, value.second});
    }
    return values;
}

Stored Value(const std::string& path, const char* name) {
    test_support::StoredValue value = test_support::ReadValue(HKEY_LOCAL_MACHINE, path, name);
    return value.present ? Stored{value.type, value.bytes} : Stored{};
}

void Put(const std::string& path, const char* name, const Stored& value) {
    test_support::PutValue(HKEY_LOCAL_MACHINE, path, name, value.type, value.bytes);
}

std::string StationKey(int station) {
    return std::string(kSetupKey) + "\\Station" + std::to_string(station);
}

std::string Profile(const char* section, const std::string& key) {
    char value[1024] = {};
    GetProfileStringA(section, key.c_str(), "(none)", value, sizeof value);
    return value;
}

// The [rename] entries of Wininit.ini, each ended by "|".
std::string WininitRename() {
    std::vector<char> buffer(65536);
    const DWORD length = GetPrivateProfileSectionA("rename", buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   WindowsFile("Wininit.ini").c_str());
    std::string entries;
    for (const char* entry = buffer.data(); entry < buffer.data() + length && *entry; entry += strlen(entry) + 1)
        entries += std::string(entry) + "|";
    return entries;
}

// Wininit.ini whose [rename] section the profile functions read as exactly
// `length` characters (above 200): each entry counts with its zero.
std::string RenameSectionOfLength(size_t length) {
    std::string text = "[rename]\r\n";
    auto add = [&text](size_t counted) { text += "NUL=C:\\T" + std::string(counted - 9, 'A') + "\r\n"; };
    for (; length > 200; length -= 100) add(100);
    if (length > 108) {
        add(length / 2);
        length -= length / 2;
    }
    add(length);
    return text;
}

class StationPorts : public CleanupTest {
protected:
    // Every station, printer, monitor port, port device and the Win.ini
    // printer sections start out empty; each test puts in what it needs.
    void SetUp() override {
        CleanupTest::SetUp();
        for (int station = 1; station <= 8; ++station) RegDeleteTreeA(HKEY_LOCAL_MACHINE, StationKey(station).c_str());
        for (const char* key : {kPrintersKey, kMonitorPortsKey, kPortDevicesKey, kPortDriversKey})
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
        HKEY printers = nullptr;
        RegCreateKeyA(HKEY_LOCAL_MACHINE, kPrintersKey, &printers);
        RegCloseKey(printers);
        for (const char* section : {"Devices", "PrinterPorts"}) WriteProfileStringA(section, nullptr, nullptr);
        for (int port = 2; port <= 9; ++port)
            WriteProfileStringA("Ports", ("LPT" + std::to_string(port) + ":").c_str(), nullptr);
        WriteFileBytes(WindowsFile("Wininit.ini"), "[rename]\r\nNUL=C:\\WINDOWS\\TEMP\\~SETUP1.TMP\r\n");
        WriteFileBytes(kOldPortMonitorFile, "old port monitor");
        Put(kProductKey, "Install Directory", Text("C:\\Program Files\\Orvanta"));
    }

    // An installed printer on a port, in the registry and Win.ini.
    static void PutPrinter(const std::string& name, const std::string& port) {
        Put(std::string(kPrintersKey) + "\\" + name, "Port", Text(port));
        WriteProfileStringA("Devices", name.c_str(), ("HPPCL5MS," + port).c_str());
        WriteProfileStringA("PrinterPorts", name.c_str(), ("HPPCL5MS," + port + ",15,45").c_str());
    }
    static std::string PrinterPort(const std::string& name) {
        return Value(std::string(kPrintersKey) + "\\" + name, "Port").bytes;
    }
    // A station whose printer the earlier version served through the port
    // named after the station.
    static void PutStation(int station, const std::string& name, const std::string& printer,
                           const Stored& enabled = Bytes("\1")) {
        Put(StationKey(station), "Station Name", Text(name));
        Put(StationKey(station), "Printer Name", Text(printer));
        if (enabled.type != REG_NONE) Put(StationKey(station), "Printer Enabled", enabled);
    }
    static std::string Device(int station) { return "App" + std::to_string(station) + "Port3"; }
    static bool Moved(int station) {
        return KeyExists(std::string(kPortDevicesKey) + "\\" + Device(station)) ||
               KeyExists(std::string(kPortDriversKey) + "\\" + Device(station));
    }
    size_t VersionQuestions() {
        auto boxes = Boxes();
        return std::count_if(boxes.begin(), boxes.end(),
                             [](const auto& box) { return box.text.rfind("Uninitialized version number", 0) == 0; });
    }
    static void PutOldMonitor() {
        Put(kOldMonitorKey, "Driver", Text("orvmon.dll"));
        Put(std::string(kOldMonitorKey) + "\\Ports", "Count", Bytes("\2"));
    }
    static void PutPortDevices() {
        for (int station = 1; station <= 8; ++station)
            for (int port = 1; port <= 3; ++port) {
                const std::string device = "App" + std::to_string(station) + "Port" + std::to_string(port);
                Put(std::string(kPortDevicesKey) + "\\" + device, "PortName", Text("COM5"));
                Put(std::string(kPortDevicesKey) + "\\" + device + "\\LogConfig", "0000", Bytes("\1"));
                Put(std::string(kPortDriversKey) + "\\" + device, "DriverDesc", Text("Station port"));
            }
        Put(std::string(kPortDevicesKey) + "\\Board1", "Class", Text("MultiFunction"));
        Put(std::string(kPortDriversKey) + "\\0000", "PortDriver", Text("serial.vxd"));
    }
    // The port devices' driver keys left. (Their hardware keys go at removal
    // in any case, with the product's whole enumeration key.)
    static size_t PortDevicesLeft() {
        size_t left = 0;
        for (int station = 1; station <= 8; ++station)
            for (int port = 1; port <= 3; ++port) {
                const std::string device = "App" + std::to_string(station) + "Port" + std::to_string(port);
                left += KeyExists(std::string(kPortDriversKey) + "\\" + device);
            }
        return left;
    }
    static void PutProductType(const std::string& bytes) {
        if (bytes.empty())
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kProductKey, "Product Type");
        else
            Put(kProductKey, "Product Type", Bytes(bytes));
    }
};

// ---- Station printers ----------------------------------------------------

TEST_F(StationPorts, AnEnabledStationPrinterMovesToTheStationsLptPort) {
    PutPrinter("Laser", "Reception");
    PutPrinter("Office", "LPT1:");
    Put(std::string(kMonitorPortsKey) + "\\Reception", "Station", Bytes("\7"));
    Put(std::string(kMonitorPortsKey) + "\\Reception\\Settings", "Timeout", Bytes("\x2d"));
    Put(std::string(kMonitorPortsKey) + "\\Lobby", "Station", Bytes("\3"));
    PutStation(7, "Reception", "Laser");
    PutOldMonitor();

    EXPECT_TRUE(DataMove(1));
    EXPECT_FALSE(KeyExists(kOldMonitorKey));
    EXPECT_EQ(Profile("Devices", "Laser"), "HPPCL5MS,LPT2:");
    EXPECT_EQ(Profile("PrinterPorts", "Laser"), "HPPCL5MS,LPT2:,15,45");
    EXPECT_EQ(PrinterPort("Laser"), Text("LPT2:").bytes);
    EXPECT_EQ(Profile("Devices", "Office"), "HPPCL5MS,LPT1:");
    EXPECT_EQ(PrinterPort("Office"), Text("LPT1:").bytes);
    EXPECT_FALSE(KeyExists(std::string(kMonitorPortsKey) + "\\Reception"));
    EXPECT_TRUE(KeyExists(std::string(kMonitorPortsKey) + "\\Lobby"));
    EXPECT_EQ(Profile("Ports", "LPT2:"), "");

    const std::vector<std::pair<std::string, Stored>> hardware = {
        {"Class", Text("Ports")},
        {"ConfigFlags", Bytes(std::string(4, '\0'))},
        {"DeviceDesc", Text("Laser")},
        {"Driver", Text("Ports\\App7Port3")},
        {"FriendlyName", Text("Laser")},
        {"HWRevision", Text("4.00")},
        {"HardwareID", Text("Ternway Parallel Port")},
        {"Mfg", Text("Quillon, Inc.")},
        {"PortName", Text("LPT2:")},
        {"PortNum", Bytes("\3")},
        {"Station", Bytes("\7")},
    };
    EXPECT_EQ(Values(std::string(kPortDevicesKey) + "\\App7Port3"), hardware);
    const std::vector<std::pair<std::string, Stored>> driver = {
        {"DevLoader", Text("*vcomm")},           {"DriverDate", Text("")},
        {"DriverDesc", Text("Laser")},           {"DriverVersion", Text("4.00")},
        {"InfPath", Text("MSPORTS.INF")},        {"InfSection", Text("LptPort")},
        {"PortDriver", Text("Serlink.vxd")},     {"PortSubClass", Bytes(std::string(1, '\0'))},
        {"ProviderName", Text("Quillon, Inc.")},
    };
    EXPECT_EQ(Values(std::string(kPortDriversKey) + "\\App7Port3"), driver);
    EXPECT_EQ(VersionQuestions(), 0u);
}

TEST_F(StationPorts, EachStationHasItsOwnLptPortAndPortsMatchIgnoringCase) {
    const char* const lpt[] = {"LPT4:", "LPT5:", "LPT6:", "LPT7:", "LPT8:", "LPT9:", "LPT2:", "LPT3:"};
    for (int station = 1; station <= 8; ++station) {
        const std::string n = std::to_string(station);
        PutPrinter("Printer " + n, station % 2 ? "ROOM " + n : "room " + n);
        PutStation(station, "Room " + n, "Printer " + n);
    }
    // A registration left from before is brought up to date.
    Put(std::string(kPortDevicesKey) + "\\App1Port3", "PortName", Text("Room 1"));
    Put(std::string(kPortDevicesKey) + "\\App1Port3", "FriendlyName", Text("Old name"));

    EXPECT_TRUE(DataMove(4));
    for (int station = 1; station <= 8; ++station) {
        SCOPED_TRACE(station);
        const std::string n = std::to_string(station), port = lpt[station - 1];
        EXPECT_EQ(Profile("Devices", "Printer " + n), "HPPCL5MS," + port);
        EXPECT_EQ(Profile("PrinterPorts", "Printer " + n), "HPPCL5MS," + port + ",15,45");
        EXPECT_EQ(PrinterPort("Printer " + n), Text(port).bytes);
        EXPECT_EQ(Value(std::string(kPortDevicesKey) + "\\" + Device(station), "PortName"), Text(port));
        EXPECT_EQ(Value(std::string(kPortDevicesKey) + "\\" + Device(station), "FriendlyName"), Text("Printer " + n));
        EXPECT_EQ(Value(std::string(kPortDevicesKey) + "\\" + Device(station), "Station"),
                  Bytes(std::string(1, static_cast<char>(station))));
        EXPECT_EQ(Profile("Ports", port), "");
    }
}

TEST_F(StationPorts, AStationThatNamesItsPrinterPortEndsTheMoveThere) {
    for (int station : {1, 2, 3, 8}) {
        const std::string n = std::to_string(station);
        PutPrinter("Printer " + n, "Room " + n);
        PutStation(station, "Room " + n, "Printer " + n);
    }
    Put(StationKey(2), "Printer PortName", Text("LPT5:"));

    EXPECT_TRUE(DataMove(1));
    EXPECT_EQ(Profile("Devices", "Printer 1"), "HPPCL5MS,LPT4:");
    EXPECT_TRUE(Moved(1));
    for (int station : {2, 3, 8}) {
        const std::string n = std::to_string(station);
        EXPECT_EQ(Profile("Devices", "Printer " + n), "HPPCL5MS,Room " + n) << station;
        EXPECT_EQ(PrinterPort("Printer " + n), Text("Room " + n).bytes) << station;
        EXPECT_FALSE(Moved(station)) << station;
    }
}

TEST_F(StationPorts, OnlyAStationWithItsPrinterSwitchedOnAndNamedMoves) {
    PutPrinter("Laser", "Reception");
    const struct {
        const char* what;
        Stored enabled;
        bool named;
    } cases[] = {
        {"switched off", Bytes(std::string(1, '\0')), true},
        {"no switch", Stored{}, true},
        {"two bytes", Bytes("\1\1"), true},
        {"a double word", Stored{REG_DWORD, std::string("\1\0\0\0", 4)}, true},
        {"no printer name", Bytes("\1"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, StationKey(7).c_str());
        PutStation(7, "Reception", "Laser", c.enabled);
        if (!c.named) {
            HKEY key = nullptr;
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, StationKey(7).c_str(), 0, KEY_ALL_ACCESS, &key);
            RegDeleteValueA(key, "Printer Name");
            RegCloseKey(key);
        }
        EXPECT_TRUE(DataMove(1));
        EXPECT_EQ(Profile("Devices", "Laser"), "HPPCL5MS,Reception");
        EXPECT_EQ(PrinterPort("Laser"), Text("Reception").bytes);
        EXPECT_FALSE(Moved(7));
        EXPECT_EQ(Profile("Ports", "LPT2:"), "(none)");
    }
    // A station without a name is passed over; the next one still moves.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, StationKey(7).c_str());
    Put(StationKey(6), "Printer Name", Text("Laser"));
    Put(StationKey(6), "Printer Enabled", Bytes("\1"));
    PutStation(8, "Reception", "Laser");
    EXPECT_TRUE(DataMove(1));
    EXPECT_FALSE(Moved(6));
    EXPECT_EQ(Profile("Devices", "Laser"), "HPPCL5MS,LPT3:");
}

TEST_F(StationPorts, InEachWinIniSectionOnlyTheFirstMatchingInstalledPrinterChanges) {
    // The registry lists printers by name; Win.ini entries of printers it
    // does not know are not looked at.
    for (const char* name : {"Alpha", "Beta", "Delta", "Gamma"})
        Put(std::string(kPrintersKey) + "\\" + name, "Port", Text("Reception"));
    // A section longer than a 32K read, a name in other case with blanks
    // around it, and an entry in quotes, which the profile functions drop.
    std::string devices = LongerThanA9xRead("Filler", "DRV,Elsewhere");
    for (const char* entry : {"Aardvark=DRV,Reception", "Alpha=no comma here", "Beta=DRV,LPT1:,Reception",
                              " DELTA = \"DRV,reception\"", "Gamma=DRV,Reception"})
        devices += std::string(entry) + '\0';
    WriteProfileSectionA("Devices", devices.c_str());
    WriteProfileStringA("PrinterPorts", "Beta", "DRV,Reception,15,45,more");
    WriteProfileStringA("PrinterPorts", "Delta", "DRV,Reception,15,45");
    PutStation(7, "Reception", "Laser");

    EXPECT_TRUE(DataMove(1));
    EXPECT_EQ(Profile("Devices", "Aardvark"), "DRV,Reception");
    EXPECT_EQ(Profile("Devices", "Alpha"), "no comma here");
    EXPECT_EQ(Profile("Devices", "Beta"), "DRV,LPT1:,Reception");
    EXPECT_EQ(Profile("Devices", "Delta"), "DRV,LPT2:");
    EXPECT_EQ(Profile("Devices", "Gamma"), "DRV,Reception");
    EXPECT_EQ(Profile("PrinterPorts", "Beta"), "DRV,LPT2:,15,45,more");
    EXPECT_EQ(Profile("PrinterPorts", "Delta"), "DRV,Reception,15,45");
    // In the registry every printer on the station's port moves.
    for (const char* name : {"Alpha", "Beta", "Delta", "Gamma"})
        EXPECT_EQ(PrinterPort(name), Text("LPT2:").bytes) << name;
}

TEST_F(StationPorts, AWinIniEntryTooLongToReadWholeIsNotWrittenBackCutShort) {
    const std::string longEntry = "HPPCL5MS,Reception," + std::string(600, '9');
    Put(std::string(kPrintersKey) + "\\Alpha", "Port", Text("Reception"));
    Put(std::string(kPrintersKey) + "\\Beta", "Port", Text("Reception"));
    WriteProfileStringA("Devices", "Alpha", longEntry.c_str());
    WriteProfileStringA("Devices", "Beta", "HPPCL5MS,Reception");
    PutStation(7, "Reception", "Laser");

    EXPECT_TRUE(DataMove(1));
    EXPECT_EQ(Profile("Devices", "Alpha"), longEntry);
    EXPECT_EQ(Profile("Devices", "Beta"), "HPPCL5MS,LPT2:");
}

TEST_F(StationPorts, AStationNameThatIsNoSingleKeyNameDeletesNoMonitorPortKey) {
    Put(std::string(kMonitorPortsKey) + "\\Lobby", "Station", Bytes("\3"));
    Put(std::string(kMonitorPortsKey) + "\\Front\\Desk", "Station", Bytes("\2"));
    PutPrinter("Laser", "Front\\Desk");
    PutStation(1, "", "Ink");
    PutStation(2, "Front\\Desk", "Laser");

    EXPECT_TRUE(DataMove(1));
    EXPECT_TRUE(KeyExists(std::string(kMonitorPortsKey) + "\\Lobby")) << "the empty name names the Ports key itself";
    EXPECT_TRUE(KeyExists(std::string(kMonitorPortsKey) + "\\Front\\Desk"));
    // The rest of the move is made all the same.
    EXPECT_EQ(Profile("Devices", "Laser"), "HPPCL5MS,LPT5:");
    EXPECT_TRUE(Moved(1));
    EXPECT_TRUE(Moved(2));
}

// ---- The products concerned ----------------------------------------------

TEST_F(StationPorts, OtherProductsKeepTheirPrintersAndOnlyLoseTheOldPrintMonitor) {
    PutPrinter("Laser", "Reception");
    PutStation(7, "Reception", "Laser");
    Put(std::string(kMonitorPortsKey) + "\\Reception", "Station", Bytes("\7"));
    const std::string wininit = ReadFileBytes(WindowsFile("Wininit.ini"));
    for (int code : {2, 3}) {
        SCOPED_TRACE(code);
        PutOldMonitor();
        EXPECT_TRUE(DataMove(code));
        EXPECT_EQ(Profile("Devices", "Laser"), "HPPCL5MS,Reception");
        EXPECT_EQ(Profile("PrinterPorts", "Laser"), "HPPCL5MS,Reception,15,45");
        EXPECT_EQ(PrinterPort("Laser"), Text("Reception").bytes);
        EXPECT_TRUE(KeyExists(std::string(kMonitorPortsKey) + "\\Reception"));
        EXPECT_FALSE(Moved(7));
        EXPECT_EQ(ReadFileBytes(WindowsFile("Wininit.ini")), wininit);
        EXPECT_FALSE(KeyExists(kOldMonitorKey));
    }
    EXPECT_EQ(VersionQuestions(), 0u);
}

TEST_F(StationPorts, AnUnrecordedProductIsQuestionedOncePerStepAndChangesNothingButTheMonitor) {
    PutPrinter("Laser", "Reception");
    PutStation(7, "Reception", "Laser");
    PutOldMonitor();
    const std::string wininit = ReadFileBytes(WindowsFile("Wininit.ini"));

    EXPECT_TRUE(DataMove(0));
    // The printer move and the port monitor file ask; the print monitor
    // goes for every product.
    EXPECT_EQ(VersionQuestions(), 2u);
    EXPECT_EQ(Profile("Devices", "Laser"), "HPPCL5MS,Reception");
    EXPECT_FALSE(Moved(7));
    EXPECT_EQ(ReadFileBytes(WindowsFile("Wininit.ini")), wininit);
    EXPECT_FALSE(KeyExists(kOldMonitorKey));

    PutPortDevices();
    PutProductType("");
    EXPECT_EQ(Uninstall(), 0);
    EXPECT_EQ(VersionQuestions(), 3u);
    EXPECT_EQ(PortDevicesLeft(), 24u);
}

// ---- The old port monitor file -------------------------------------------

TEST_F(StationPorts, TheOldPortMonitorFileIsDeletedAtTheNextStartBeforeWhatWasQueued) {
    WriteFileBytes(WindowsFile("Wininit.ini"),
                   "[rename]\r\nNUL=C:\\WINDOWS\\TEMP\\~SETUP1.TMP\r\nC:\\WINDOWS\\X.DLL=C:\\WINDOWS\\X.NEW\r\n"
                   "[other]\r\nkept=1\r\n");
    EXPECT_TRUE(DataMove(1));
    ASSERT_EQ(MonitorEntry().rfind("NUL=C:\\", 0), 0u);
    EXPECT_TRUE(IsShortPath(MonitorEntry().substr(4))) << MonitorEntry();
    EXPECT_EQ(WininitRename(),
              MonitorEntry() + "|NUL=C:\\WINDOWS\\TEMP\\~SETUP1.TMP|C:\\WINDOWS\\X.DLL=C:\\WINDOWS\\X.NEW|");
    EXPECT_EQ(GetPrivateProfileIntA("other", "kept", 0, WindowsFile("Wininit.ini").c_str()), 1u);
    EXPECT_TRUE(FileExists(kOldPortMonitorFile)) << "Windows deletes it when it starts";

    DeleteFileA(WindowsFile("Wininit.ini").c_str());
    // The first installation deleted the product's values with the rest.
    test_support::PutText(HKEY_LOCAL_MACHINE, kProductKey, "Install Directory", "C:\\Program Files\\Orvanta");
    EXPECT_TRUE(DataMove(4));
    EXPECT_EQ(WininitRename(), MonitorEntry() + "|");
}

TEST_F(StationPorts, WininitIniIsLeftAloneWithoutTheFileOrAnAbsoluteFolder) {
    const std::string wininit = ReadFileBytes(WindowsFile("Wininit.ini"));
    DeleteFileA(kOldPortMonitorFile);
    EXPECT_TRUE(DataMove(1));
    EXPECT_EQ(ReadFileBytes(WindowsFile("Wininit.ini")), wininit);
    WriteFileBytes(kOldPortMonitorFile, "old port monitor");

    // Each folder but the missing one would find a file from C:\Program Files.
    WriteFileBytes("C:\\localmon.dll", "elsewhere");
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\Program Files"));
    for (const char* folder :
         {static_cast<const char*>(nullptr), "", "Orvanta", "C:Orvanta", "\\Program Files\\Orvanta"}) {
        SCOPED_TRACE(folder ? folder : "(missing)");
        if (folder)
            Put(kProductKey, "Install Directory", Text(folder));
        else
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kProductKey, "Install Directory");
        EXPECT_TRUE(DataMove(1));
        EXPECT_EQ(ReadFileBytes(WindowsFile("Wininit.ini")), wininit);
    }
    SetCurrentDirectoryA(current);
    DeleteFileA("C:\\localmon.dll");

    Put(kProductKey, "Install Directory", Text("c:\\program files\\orvanta"));
    EXPECT_TRUE(DataMove(1));
    EXPECT_EQ(WininitRename(),
              MonitorEntry("c:\\program files\\orvanta\\Localmon.dll") + "|NUL=C:\\WINDOWS\\TEMP\\~SETUP1.TMP|");
}

TEST_F(StationPorts, ARenameSectionWithoutRoomForTheEntryIsLeftAlone) {
    const size_t entry = MonitorEntry().size() + 1;
    const struct {
        size_t length;
        bool written;
    } cases[] = {{32766 - entry, true}, {32767 - entry, false}, {32764, false}, {40000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text = RenameSectionOfLength(c.length);
        WriteFileBytes(WindowsFile("Wininit.ini"), text);
        std::vector<char> buffer(65536);
        ASSERT_EQ(GetPrivateProfileSectionA("rename", buffer.data(), static_cast<DWORD>(buffer.size()),
                                            WindowsFile("Wininit.ini").c_str()),
                  c.length);
        EXPECT_TRUE(DataMove(1));
        const std::string entries = WininitRename();
        if (c.written) {
            EXPECT_EQ(entries.rfind(MonitorEntry() + "|", 0), 0u);
            EXPECT_EQ(entries.size(), c.length + entry);
        } else {
            EXPECT_EQ(ReadFileBytes(WindowsFile("Wininit.ini")), text);
        }
    }
}

// ---- The station port devices at uninstallation --------------------------

TEST_F(StationPorts, RemovalDeletesEveryStationPortDeviceOfTheProductsConcerned) {
    for (const char* type : {"\1", "\4"}) {
        SCOPED_TRACE(static_cast<int>(type[0]));
        PutPortDevices();
        PutProductType(type);
        EXPECT_EQ(Uninstall(), 0);
        EXPECT_EQ(PortDevicesLeft(), 0u);
        EXPECT_TRUE(KeyExists(std::string(kPortDriversKey) + "\\0000"));
    }
    // Either key alone is enough.
    PutPortDevices();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPortDevicesKey);
    EXPECT_EQ(Uninstall(), 0);
    EXPECT_EQ(PortDevicesLeft(), 0u);

    PutPortDevices();
    PutProductType("\3");
    EXPECT_EQ(Uninstall(), 0);
    EXPECT_EQ(PortDevicesLeft(), 24u);
    EXPECT_EQ(VersionQuestions(), 0u);
}

// ---- The host as laid out ------------------------------------------------

using TheHost = CleanupTest;

TEST_F(TheHost, ItsStationPrintersMoveWhenItsProductHadStationPorts) {
    ASSERT_EQ(Profile("Devices", "Front Desk Laser"), "HPPCL5MS,Front Desk");
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(Profile("Devices", "Front Desk Laser"), "HPPCL5MS,Front Desk") << "Zelto KX4 had none";
    // As the installation goes on: the configuration comes back from the
    // snapshot, and the new installation records its folder.
    EXPECT_TRUE(SetupComplete(3));
    test_support::PutText(HKEY_LOCAL_MACHINE, kProductKey, "Install Directory", "C:\\Program Files\\Orvanta");

    EXPECT_TRUE(DataMove(4));
    EXPECT_EQ(Profile("Devices", "Front Desk Laser"), "HPPCL5MS,LPT4:");
    EXPECT_EQ(Profile("PrinterPorts", "Front Desk Laser"), "HPPCL5MS,LPT4:,15,45");
    EXPECT_EQ(Profile("Devices", "Reading Room Inkjet"), "HPDJ550C,LPT5:");
    EXPECT_EQ(Profile("Devices", "Office LaserJet"), "HPPCL5MS,LPT1:");
    EXPECT_FALSE(KeyExists(std::string(kMonitorPortsKey) + "\\Front Desk"));
    EXPECT_FALSE(KeyExists(std::string(kMonitorPortsKey) + "\\Reading Room"));
    EXPECT_FALSE(KeyExists(std::string(kPortDevicesKey) + "\\App3Port3")) << "station 3 prints nowhere";
    EXPECT_FALSE(KeyExists(kOldMonitorKey));
    EXPECT_EQ(WininitRename().rfind(MonitorEntry() + "|", 0), 0u);
}

// scripts/test names each of its passes in ORVANTA_PASS (64-bit, 32-bit,
// win98); the pass is held to its word: the width of the process, the
// system's version and, as Windows 98, the section reader's 32K limit of
// Windows 95 and 98, so that the product's 9x paths run for real.
TEST(TestPass, IsWhatItNamesItself) {
    const char* name = std::getenv("ORVANTA_PASS");
    if (!name) GTEST_SKIP() << "not run by scripts/test";
    const std::string pass = name;
    const bool windows9x = (GetVersion() & 0x80000000) != 0;
    EXPECT_EQ(sizeof(void*), pass == "64-bit" ? 8u : 4u);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    EXPECT_EQ(wow64 != FALSE, pass != "64-bit");
    EXPECT_EQ(windows9x, pass == "win98");

    WriteProfileSectionA("Orvanta Test Pass", LongerThanA9xRead("Entry", "a value of some length").c_str());
    const ProfileSection section("Orvanta Test Pass");
    WriteProfileStringA("Orvanta Test Pass", nullptr, nullptr);
    EXPECT_EQ(section.IsWhole(), !windows9x);
    EXPECT_NE(section.Find("Entry0"), nullptr);
    EXPECT_EQ(section.Find("Entry1499") != nullptr, !windows9x);
}

}  // namespace
