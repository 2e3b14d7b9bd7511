// The registry snapshot that carries the configuration across a
// reinstallation: its exact text for a prepared branch, and a round trip
// through the host's own registry editor.
#include <algorithm>

#include "cleanup_fixture.h"
#include "editor_away.h"
#include "registry_values.h"

namespace {

using namespace cleanup_test;
using test_support::AllValues;
using test_support::ValueMap;

const char kPortsKey[] = "Enum\\Root\\Ternway";

class RegistrySnapshot : public CleanupTest {
protected:
    void SetUp() override {
        CleanupTest::SetUp();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPortsKey);
        DeleteFileA(Snapshot().c_str());
    }
    void TearDown() override {
        DeleteFileA(Snapshot().c_str());
        CleanupTest::TearDown();
    }
    std::string Snapshot() const { return snapshotFolder_ + "\\~ORVANTA.REG"; }
    static std::string Header(const std::string& path) { return "\r\n[HKEY_LOCAL_MACHINE\\" + path + "]\r\n"; }

    test_support::RegistryBackup ports_{HKEY_LOCAL_MACHINE, kPortsKey};
};

TEST_F(RegistrySnapshot, WithNothingToSaveItHoldsOnlyTheFirstLine) {
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(test_support::ReadFileBytes(Snapshot()), "REGEDIT4\r\n");
}

TEST_F(RegistrySnapshot, ASnapshotNotYetImportedIsKeptWholeUntilTheImport) {
    const std::string board = std::string(kSetupKey) + "\\Board1";
    test_support::PutValue(HKEY_LOCAL_MACHINE, board, "Detected", REG_BINARY, "\x01");
    test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kSetupKey) + "\\Station1", "Station Name", "Front Desk");
    EXPECT_TRUE(DataMove(3));
    const std::string first = test_support::ReadFileBytes(Snapshot());
    ASSERT_NE(first.find("Front Desk"), std::string::npos);
    // The move again before any import, as after a setup that stopped: the
    // empty registry must not take the snapshot's place. (A move cut off
    // while it deletes, with a part left, is the campaigns' to try.)
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(test_support::ReadFileBytes(Snapshot()), first);
    EXPECT_FALSE(test_support::FileExists(snapshotFolder_ + "\\~ORVANTA.$$$")) << "written under its own name";
    EXPECT_TRUE(SetupComplete(3));
    EXPECT_EQ(test_support::ReadText(HKEY_LOCAL_MACHINE, std::string(kSetupKey) + "\\Station1", "Station Name"),
              "Front Desk");
}

TEST_F(RegistrySnapshot, ALeftoverSnapshotGivesWayToTheConfigurationAsItStands) {
    const std::string station = std::string(kSetupKey) + "\\Station1";
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "Station Name", "Front Desk");
    test_support::PutValue(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled", REG_BINARY, "\x01");
    EXPECT_TRUE(DataMove(3));
    const std::string leftover = test_support::ReadFileBytes(Snapshot());
    EXPECT_TRUE(SetupComplete(3));
    // Renamed after that installation, and a copy of its snapshot left
    // behind, as by an import that timed out.
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "Station Name", "Changed Desk");
    ASSERT_TRUE(test_support::WriteFileBytes(Snapshot(), leftover));
    EXPECT_TRUE(DataMove(3));
    EXPECT_TRUE(SetupComplete(3));
    EXPECT_EQ(test_support::ReadText(HKEY_LOCAL_MACHINE, station, "Station Name"), "Changed Desk");
    EXPECT_FALSE(test_support::FileExists(Snapshot()));
}

TEST_F(RegistrySnapshot, WithoutASnapshotTheConfigurationStays) {
    const std::string station = std::string(kSetupKey) + "\\Station1";
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "Station Name", "Front Desk");
    test_support::PutValue(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled", REG_BINARY, "\x01");
    test_support::PutText(HKEY_LOCAL_MACHINE, kProductKey, "Install Language", "enu");
    snapshotFolder_ = "C:\\No Such Snapshot Folder";
    EXPECT_TRUE(DataMove(3));
    EXPECT_FALSE(test_support::FileExists(Snapshot()));
    EXPECT_EQ(test_support::ReadText(HKEY_LOCAL_MACHINE, station, "Station Name"), "Front Desk");
    // The administrator's settings stay too; what the installation writes
    // again goes.
    EXPECT_EQ(test_support::ReadValue(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled").bytes, "\x01");
    EXPECT_FALSE(test_support::ReadValue(HKEY_LOCAL_MACHINE, kProductKey, "Install Language").present);
}

TEST_F(RegistrySnapshot, AFailedImportIsOwedUntilTheConfigurationIsSetUpAgain) {
    const std::string station1 = std::string(kSetupKey) + "\\Station1",
                      station2 = std::string(kSetupKey) + "\\Station2";
    auto failedSetup = [this] {
        EXPECT_TRUE(DataMove(3));
        test_support::EditorAway away;
        ASSERT_TRUE(away.Moved());
        EXPECT_TRUE(SetupComplete(3));
        EXPECT_TRUE(test_support::FileExists(Snapshot()));
    };
    test_support::PutText(HKEY_LOCAL_MACHINE, station1, "Station Name", "Front Desk");
    test_support::PutValue(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled", REG_BINARY, "\x01");
    failedSetup();
    EXPECT_FALSE(test_support::KeyExists(station1));
    // Nothing set up since: the setup again brings it back.
    EXPECT_TRUE(DataMove(3));
    EXPECT_TRUE(SetupComplete(3));
    EXPECT_EQ(test_support::ReadText(HKEY_LOCAL_MACHINE, station1, "Station Name"), "Front Desk");
    EXPECT_EQ(test_support::ReadValue(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled").bytes, "\x01");

    // Set up again after the failure, a part of it: that is what the next
    // installation keeps, not the snapshot's older one.
    failedSetup();
    test_support::PutText(HKEY_LOCAL_MACHINE, station2, "Station Name", "Set Up Again");
    EXPECT_TRUE(DataMove(3));
    EXPECT_TRUE(SetupComplete(3));
    EXPECT_EQ(test_support::ReadText(HKEY_LOCAL_MACHINE, station2, "Station Name"), "Set Up Again");
    EXPECT_FALSE(test_support::KeyExists(station1));
    EXPECT_FALSE(test_support::ReadValue(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled").present);
    EXPECT_FALSE(test_support::FileExists(Snapshot()));
}

TEST_F(RegistrySnapshot, AStaleLeftoverIsNeverImported) {
    const std::string station = std::string(kSetupKey) + "\\Station1";
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "Station Name", "Front Desk");
    EXPECT_TRUE(DataMove(3));
    const std::string leftover = test_support::ReadFileBytes(Snapshot());
    EXPECT_TRUE(SetupComplete(3));
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "Station Name", "Changed Desk");

    // Read-only: replaced all the same.
    ASSERT_TRUE(test_support::WriteFileBytes(Snapshot(), leftover));
    SetFileAttributesA(Snapshot().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(DataMove(3));
    EXPECT_NE(test_support::ReadFileBytes(Snapshot()).find("Changed Desk"), std::string::npos);
    EXPECT_TRUE(SetupComplete(3));
    EXPECT_EQ(test_support::ReadText(HKEY_LOCAL_MACHINE, station, "Station Name"), "Changed Desk");

    // Held by another program, it cannot be replaced: the configuration
    // stays where it is, and the leftover is not imported over it.
    ASSERT_TRUE(test_support::WriteFileBytes(Snapshot(), leftover));
    HANDLE held = CreateFileA(Snapshot().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(DataMove(3));
    CloseHandle(held);
    EXPECT_EQ(test_support::ReadText(HKEY_LOCAL_MACHINE, station, "Station Name"), "Changed Desk");
    EXPECT_TRUE(SetupComplete(3));
    EXPECT_EQ(test_support::ReadText(HKEY_LOCAL_MACHINE, station, "Station Name"), "Changed Desk");
}

TEST_F(RegistrySnapshot, HoldsTheConfigurationInTheEditorsFormat) {
    const std::string product = kProductKey;
    // Written by the new installation itself: left out, whatever their case.
    test_support::PutText(HKEY_LOCAL_MACHINE, product, "Install Directory", "C:\\Program Files\\Orvanta");
    test_support::PutText(HKEY_LOCAL_MACHINE, product, "install language", "enu");
    test_support::PutValue(HKEY_LOCAL_MACHINE, product, "Orvanta Interface", REG_BINARY, "\x01");
    test_support::PutValue(HKEY_LOCAL_MACHINE, product, "AutoLaunch Enabled", REG_BINARY,
                           std::string("\x01\x0A\xFF", 3));
    test_support::PutNumber(HKEY_LOCAL_MACHINE, product, "RefreshRate", 255);
    test_support::PutText(HKEY_LOCAL_MACHINE, product, "Station Display", "C:\\new\\x \"quoted\"");
    test_support::PutText(HKEY_LOCAL_MACHINE, product + "\\4.00", "Serial Number", "not part of it");

    const std::string board1 = std::string(kSetupKey) + "\\Board1", board3 = std::string(kSetupKey) + "\\Board3";
    test_support::PutValue(HKEY_LOCAL_MACHINE, board1, "Detected", REG_BINARY, "\x01");
    test_support::PutValue(HKEY_LOCAL_MACHINE, board1, "Empty", REG_BINARY, "");
    test_support::PutText(HKEY_LOCAL_MACHINE, board1 + "\\Memory", "", "default text");
    test_support::PutNumber(HKEY_LOCAL_MACHINE, board1 + "\\Memory\\Window", "", 0xD0000);
    test_support::PutValue(HKEY_LOCAL_MACHINE, board3, "Detected", REG_BINARY, "\x01");
    // Values past one that does not fit are not listed.
    test_support::PutText(HKEY_LOCAL_MACHINE, board3, "Long", std::string(600, 'L'));

    const std::string station = std::string(kSetupKey) + "\\Station1";
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "Current User", "mwclerk");
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "DriverVersion", "4.00");
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "Station Name", "Front Desk");
    test_support::PutText(HKEY_LOCAL_MACHINE, station + "\\Ports", "Current User", "kept below");
    // A subkey name of more than 79 characters is passed over; the subkeys
    // listed after it are not.
    test_support::PutText(HKEY_LOCAL_MACHINE, station + "\\" + std::string(80, 'Z'), "Hidden", "x");
    test_support::PutText(HKEY_LOCAL_MACHINE, station + "\\~After", "Listed", "y");
    test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kSetupKey), "SystemNameString", "not part of it");

    test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kPortsKey) + "\\App1Port3", "PortName", "LPT4:");
    test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kPortsKey) + "\\App1Port3\\Sub", "Ignored", "x");
    test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kPortsKey) + "\\App2Port1", "PortName", "COM5:");

    EXPECT_TRUE(DataMove(3));
    const std::string expected =
        "REGEDIT4\r\n" + Header(product) +
        "\"AutoLaunch Enabled\"=hex:01,0A,FF\r\n"
        "\"RefreshRate\"=dword:000000FF\r\n"
        "\"Station Display\"=\"C:\\\\new\\\\x \\\"quoted\\\"\"\r\n" +
        Header(board1) +
        "\"Detected\"=hex:01\r\n"
        "\"Empty\"=hex:\r\n" +
        Header(board1 + "\\Memory") + "@=\"default text\"\r\n" + Header(board1 + "\\Memory\\Window") +
        "\"\"=dword:000D0000\r\n" + Header(board3) + "\"Detected\"=hex:01\r\n" + Header(station) +
        "\"Station Name\"=\"Front Desk\"\r\n" + Header(station + "\\Ports") + "\"Current User\"=\"kept below\"\r\n" +
        Header(station + "\\~After") + "\"Listed\"=\"y\"\r\n" + Header(std::string(kPortsKey) + "\\App1Port3") +
        "\"PortName\"=\"LPT4:\"\r\n" + Header(std::string(kPortsKey) + "\\App2Port1") + "\"PortName\"=\"COM5:\"\r\n";
    EXPECT_EQ(test_support::ReadFileBytes(Snapshot()), expected);
}

int timerTicks = 0;

// A timer callback of the system's calling convention (a lambda is not one
// on i686).
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
    ++timerTicks;
}

TEST_F(RegistrySnapshot, TheRegistryEditorGivesBackEveryValueAsStored) {
    const std::string product = kProductKey, station = std::string(kSetupKey) + "\\Station2";
    test_support::PutValue(HKEY_LOCAL_MACHINE, product, "Shutdown Default", REG_BINARY, "\x01");
    test_support::PutText(HKEY_LOCAL_MACHINE, product, "Station Display", "C:\\new\\x \"quoted\" \\\\server\\share\\");
    test_support::PutText(HKEY_LOCAL_MACHINE, product, "Empty Text", "");
    test_support::PutValue(HKEY_LOCAL_MACHINE, std::string(kSetupKey) + "\\Board1", "Memory Address", REG_BINARY,
                           std::string("\x00\x00\x0D\x00", 4));
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "Station Name", "Reading \"Room\"");
    test_support::PutText(HKEY_LOCAL_MACHINE, station, "Default User", "");
    test_support::PutNumber(HKEY_LOCAL_MACHINE, station + "\\Serial", "Baud", 19200);
    test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kPortsKey) + "\\App2Port1", "PortName", "COM5:");
    const ValueMap before = AllValues(HKEY_LOCAL_MACHINE, kProductKey),
                   ports = AllValues(HKEY_LOCAL_MACHINE, kPortsKey);

    EXPECT_TRUE(DataMove(3));
    ASSERT_TRUE(test_support::FileExists(Snapshot()));
    // What the data move records of its snapshot stays, as it does in setup.
    const test_support::StoredValue state = test_support::ReadValue(HKEY_LOCAL_MACHINE, product, "Registry Snapshot");
    ASSERT_TRUE(state.present);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    test_support::PutValue(HKEY_LOCAL_MACHINE, product, "Registry Snapshot", state.type, state.bytes);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPortsKey);
    // The product key must exist for the hook to record the product, as a
    // new installation's files leave it.
    test_support::PutText(HKEY_LOCAL_MACHINE, product, "Install Directory", "C:\\Program Files\\Orvanta");

    // The engine's window thread keeps handling its messages while the
    // editor runs: a timer of the thread goes on ticking.
    timerTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, CountTick);
    EXPECT_TRUE(SetupComplete(3));
    KillTimer(nullptr, timer);
    EXPECT_GT(timerTicks, 0);
    ValueMap after = AllValues(HKEY_LOCAL_MACHINE, kProductKey);
    // Set after the import when the host has a display adapter that asks for it.
    after.erase("Software\\Quillon\\Orvanta\\Setup|ReinitHost");
    after.erase("Software\\Quillon\\Orvanta|Install Directory");
    after.erase("Software\\Quillon\\Orvanta|Product Name");
    after.erase("Software\\Quillon\\Orvanta|Product Type");
    EXPECT_EQ(after, before);
    EXPECT_EQ(AllValues(HKEY_LOCAL_MACHINE, kPortsKey), ports);
    EXPECT_FALSE(test_support::FileExists(Snapshot())) << "deleted once imported";
    EXPECT_TRUE(Boxes().empty());
}

// The lines "call N: Function" of setup.exe's call watch, in order.
std::vector<std::string> WatchedCalls(const std::string& output) {
    std::vector<std::string> calls;
    for (size_t at = output.find("call "); at != std::string::npos; at = output.find("call ", at + 1)) {
        const size_t name = output.find(": ", at), end = output.find_first_of("\r\n", at);
        if (name != std::string::npos && name < end) calls.push_back(output.substr(name + 2, end - name - 2));
    }
    return calls;
}

TEST_F(RegistrySnapshot, TheImportedConfigurationIsOnDiskBeforeTheSnapshotGoes) {
    test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kSetupKey) + "\\Station1", "Station Name", "Front Desk");
    EXPECT_TRUE(DataMove(3));
    test_support::Program setup(
        test_support::ProgramFolder() + "\\setup.exe",
        "call complete 3 \"" + snapshotFolder_ + "\" \"" + installFolder_ + "\" --count-calls yes", "", true);
    ASSERT_TRUE(setup.WaitForExit(60000));
    // Windows 95/98 writes the registry lazily: a power cut after the
    // deletion must not find the import only in memory.
    const std::vector<std::string> calls = WatchedCalls(setup.Output());
    const auto editor = std::find(calls.begin(), calls.end(), "CreateProcessA");
    ASSERT_NE(editor, calls.end()) << setup.Output();
    const auto deletion = std::find(editor, calls.end(), "DeleteFileA");
    ASSERT_NE(deletion, calls.end()) << setup.Output();
    EXPECT_NE(std::find(editor, deletion, "RegFlushKey"), deletion) << setup.Output();
    EXPECT_FALSE(test_support::FileExists(Snapshot()));
}

TEST_F(RegistrySnapshot, AnEditorThatCannotBeStartedIsReportedAndTheSnapshotKept) {
    test_support::PutText(HKEY_LOCAL_MACHINE, kProductKey, "Station Display", "x");
    EXPECT_TRUE(DataMove(2));
    test_support::EditorAway away;
    ASSERT_TRUE(away.Moved());
    EXPECT_TRUE(SetupComplete(2));
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Cleanup.dll");
    std::string command = WindowsFile("regedit.exe") + " -s \"" + Snapshot() + "\"";
    CharLowerA(command.data());
    EXPECT_EQ(
        boxes[0].text.rfind("Orvanta Zq Setup tried to run the command \"" + command + "\" and failed with error 2", 0),
        0u)
        << boxes[0].text;
    EXPECT_TRUE(test_support::FileExists(Snapshot()));
}

}  // namespace
