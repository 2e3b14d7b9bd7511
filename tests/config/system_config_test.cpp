// Loading and saving the model: what the registry lacks, what each save
// writes, and the queries on the result.
#include <string>

#include "model_fixture.h"
#include "port_registration.h"

namespace {

std::string Byte(BYTE value) {
    return std::string(1, static_cast<char>(value));
}

TEST_F(ModelTest, AnEmptyBranchGivesDefaultsInMemoryAndWritesNothing) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta");
    SystemConfig config;
    for (const auto& board : config.boards) EXPECT_EQ(board.boardName, "Station Adapter");
    EXPECT_EQ(config.stations[2].stationName, "Station3");
    EXPECT_EQ(config.stations[2].defaultUser, "User3");
    EXPECT_EQ(config.DetectedStationCount(), 0);
    EXPECT_FALSE(KeyExists("Software\\Quillon\\Orvanta"));
    EXPECT_FALSE(KeyExists("Enum\\Root\\Ternway"));
}

TEST_F(ModelTest, ADetectedStationGetsItsDefaultsAndIsSavedWithThem) {
    PutByte(StationKey(3), "Detected", 1);
    PutString(StationKey(3), "Logged In User", "someone");  // not launched: replaced
    SystemConfig config;
    const StationConfig& station = config.stations[2];
    EXPECT_EQ(station.loggedInUser, "(none)");
    EXPECT_EQ(station.serial1PortName, "COM9");
    EXPECT_EQ(station.serial2PortName, "COM10");
    EXPECT_EQ(station.printerPortName, "LPT6");
    EXPECT_EQ(station.serial1Name, "Station3 Serial1 (COM9)");
    EXPECT_EQ(station.serial2Name, "Station3 Serial2 (COM10)");
    EXPECT_EQ(station.printerName, "Station3 Printer (LPT6)");

    std::string bytes;
    EXPECT_EQ(Stored(StationKey(3), "Station Name", &bytes), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, std::string("Station3", 9));
    EXPECT_EQ(Stored(StationKey(3), "Logged In User", &bytes), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, std::string("(none)", 7));
    EXPECT_EQ(Stored(StationKey(3), "Serial2 Enabled", &bytes), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes, Byte(0));
    // An enabled port with no registration is switched off on loading.
    PutByte(StationKey(4), "Detected", 1);
    PutByte(StationKey(4), "Serial2 Enabled", 1);
    SystemConfig reloaded;
    EXPECT_EQ(reloaded.stations[3].serial2Enabled, 0u);
    // Values that only the hardware writes stay unwritten.
    EXPECT_EQ(Stored(StationKey(3), "Zq Base Init"), 0u);
}

TEST_F(ModelTest, PrinterDefaultsWrapAroundForTheLastTwoStations) {
    SystemConfig config;
    const char* expected[] = {"LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "LPT2", "LPT3"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(config.stations[i].printerPortName, expected[i]) << "station " << i + 1;
    EXPECT_EQ(config.stations[7].serial2PortName, "COM20");
}

TEST_F(ModelTest, ValuesPresentAreReadAndMissingOnesKeepTheirDefaults) {
    PutByte(StationKey(1), "Detected", 1);
    PutByte(StationKey(1), "Launched", 1);
    PutString(StationKey(1), "Logged In User", "alice");
    PutString(StationKey(1), "Station Name", "Front Desk");
    PutByte(BoardKey(1), "Detected", 1);
    PutString(BoardKey(1), "Board Name", "KX4 PBX-2");
    SystemConfig config;
    EXPECT_EQ(config.stations[0].loggedInUser, "alice");
    EXPECT_EQ(config.stations[0].stationName, "Front Desk");
    EXPECT_EQ(config.boards[0].boardName, "KX4 PBX-2");
    EXPECT_TRUE(config.AnyStationRunning());
    EXPECT_TRUE(config.AllDetectedStationsLaunched());
    EXPECT_FALSE(config.HasMultipleStations());
}

TEST_F(ModelTest, OnlyTheFirstBoardWritesItsHostPort) {
    SystemConfig config;
    for (auto& board : config.boards) board.port1IsHost = 1;
    config.SaveBoardsAndStations();
    EXPECT_EQ(Stored(BoardKey(1), "Port1 is Host"), static_cast<DWORD>(REG_BINARY));
    for (int number = 2; number <= 4; ++number) EXPECT_EQ(Stored(BoardKey(number), "Port1 is Host"), 0u);
}

TEST_F(ModelTest, SaveAllWritesDetectedBoardsOnlyAndNumbersAsBinary) {
    PutByte(BoardKey(2), "Detected", 1);
    SystemConfig config;
    config.boards[1].memoryLocation = 0xD0000;
    config.boards[1].launchedCount = 0x1FF;
    config.SaveAll();
    EXPECT_FALSE(KeyExists(BoardKey(1)));
    std::string bytes;
    EXPECT_EQ(Stored(BoardKey(2), "Memory Location", &bytes), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes, std::string("\x00\x00\x0d\x00", 4));
    EXPECT_EQ(Stored(BoardKey(2), "Launched", &bytes), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes, Byte(0xFF));
    config.SaveBoardsAndStations();
    EXPECT_TRUE(KeyExists(BoardKey(1)));
}

TEST_F(ModelTest, GlobalsAreWrittenOnlyIntoAnExistingProductKey) {
    SystemConfig config;
    config.autoLaunchEnabled = 1;
    config.SaveGlobals();
    std::string bytes;
    EXPECT_EQ(Stored("Software\\Quillon\\Orvanta", "AutoLaunch Enabled", &bytes), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes, Byte(1));

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta");
    config.SaveGlobals();
    EXPECT_FALSE(KeyExists("Software\\Quillon\\Orvanta"));
}

TEST_F(ModelTest, APortWhoseRegistrationVanishedIsSwitchedOffAndSavedSo) {
    PutByte(StationKey(2), "Detected", 1);
    {
        SystemConfig config;
        config.stations[1].printerEnabled = 1;
        config.stations[1].serial1Enabled = 1;
        config.SaveAll();  // registers both ports
        ASSERT_TRUE(KeyExists(PortHardwareKey(2, 3)));
        ASSERT_TRUE(KeyExists(PortHardwareKey(2, 1)));
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, PortHardwareKey(2, 3).c_str());
    SystemConfig config;
    EXPECT_EQ(config.stations[1].printerEnabled, 0u);
    EXPECT_EQ(config.stations[1].serial1Enabled, 1u);
    std::string bytes;
    Stored(StationKey(2), "Printer Enabled", &bytes);
    EXPECT_EQ(bytes, Byte(0));
    EXPECT_FALSE(KeyExists(PortHardwareKey(2, 3)));
    EXPECT_FALSE(KeyExists(PortDriverKey(2, 3)));
}

TEST(FriendlyNames, TemplatesInEitherKnownOrderAndTheFallback) {
    EXPECT_EQ(SerialFriendlyName("Station%d Serial%i (%s)", 4, 2, "COM12"), "Station4 Serial2 (COM12)");
    EXPECT_EQ(SerialFriendlyName("Serial%i (%s) of station %d", 4, 2, "COM12"), "Serial2 (COM12) of station 4");
    // Port first, then station, then name: neither order.
    EXPECT_EQ(SerialFriendlyName("Port %i station %d (%s)", 4, 1, "COM11"), "Station4 Serial1 (COM11)");
    EXPECT_EQ(PrinterFriendlyName("Station%d Printer (%s)", 7, "LPT2"), "Station7 Printer (LPT2)");
    EXPECT_EQ(PrinterFriendlyName("%s printer of station %d", 7, "LPT2"), "LPT2 printer of station 7");
    EXPECT_EQ(PrinterFriendlyName("Printer (%s)", 7, "LPT2"), "Station7 Printer (LPT2)");
    EXPECT_EQ(PrinterFriendlyName("Station %d printer", 7, "LPT2"), "Station7 Printer (LPT2)");
    EXPECT_EQ(PrinterFriendlyName("Station printer", 7, "LPT2"), "Station printer");
    // Without one of the three placeholders: the fixed form, whatever the
    // order of the other two.
    EXPECT_EQ(SerialFriendlyName("Serial%i (%s)", 4, 2, "COM12"), "Station4 Serial2 (COM12)");
    EXPECT_EQ(SerialFriendlyName("(%s) of station %d", 4, 1, "COM11"), "Station4 Serial1 (COM11)");
}

TEST(ModelMarkers, AnyMarkerAnywhereButNotWithoutItsDash) {
    EXPECT_TRUE(NameHasModelMarker("Quad PBX-4 board"));
    EXPECT_TRUE(NameHasModelMarker("PA-1"));
    EXPECT_TRUE(NameHasModelMarker("xPC-"));
    EXPECT_FALSE(NameHasModelMarker("PB 4"));
    EXPECT_FALSE(NameHasModelMarker("pbx-4"));
}

TEST_F(ModelTest, AStationOnABoardNumberOutsideTheArrayHasNoMarker) {
    PutString(BoardKey(1), "Board Name", "PA-2");
    PutByte(StationKey(1), "Detected", 1);
    PutByte(StationKey(1), "Board Number", 9);
    SystemConfig config;
    EXPECT_TRUE(config.AnyBoardHasModelMarker());
    EXPECT_FALSE(config.StationBoardHasModelMarker(0));
    EXPECT_EQ(config.stations[0].Board(), nullptr);
}

}  // namespace
