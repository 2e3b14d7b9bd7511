#include "system_config.h"

#include "config_messages.h"
#include "driver_channel.h"
#include "port_registration.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "resources.h"

const char kProductKey[] = "Software\\Quillon\\Orvanta";
const char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";

namespace {

// A board or station key from its template (strings 2022, 2023). Empty when
// the template is missing, so nothing is read from or written to the hive
// itself.
std::string RecordKey(UINT templateId, int number) {
    std::string pattern;
    if (!AfxLoadString(templateId, pattern)) return {};
    return AfxFormat(pattern.c_str(), kSetupKey, number);
}

int Find(const std::string& text, const char* what) {
    size_t at = text.find(what);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

}  // namespace

bool NameHasModelMarker(const std::string& boardName) {
    for (const char* marker : {"PA-", "PB-", "PBX-", "PC-"}) {
        if (boardName.find(marker) != std::string::npos) return true;
    }
    return false;
}

std::string SerialFriendlyName(const std::string& pattern, int stationNumber, int port, const std::string& portName) {
    int d = Find(pattern, "%d"), p = Find(pattern, "%i"), s = Find(pattern, "%s");
    // Both orders take all three placeholders: in a template without one the
    // formatting would read a number as a text.
    if (d >= 0 && p >= 0 && s >= 0) {
        if (d < p && p < s) return AfxFormat(pattern.c_str(), stationNumber, port, portName.c_str());
        if (p < s && s < d) return AfxFormat(pattern.c_str(), port, portName.c_str(), stationNumber);
    }
    const char* fixed = port == 1 ? "Station%d Serial1 (%s)" : "Station%d Serial2 (%s)";
    return AfxFormat(fixed, stationNumber, portName.c_str());
}

std::string PrinterFriendlyName(const std::string& pattern, int stationNumber, const std::string& portName) {
    int d = Find(pattern, "%d"), s = Find(pattern, "%s");
    // A template with only one of the two placeholders would make the
    // formatting read a number as a text, or a text as a number; it gets the
    // fixed form instead. One with neither formats as it stands.
    if ((d < 0) != (s < 0)) return AfxFormat("Station%d Printer (%s)", stationNumber, portName.c_str());
    if (d < s) return AfxFormat(pattern.c_str(), stationNumber, portName.c_str());
    return AfxFormat(pattern.c_str(), portName.c_str(), stationNumber);
}

// ---- Boards ------------------------------------------------------------

void BoardConfig::Reset() {
    *this = BoardConfig();
}

void BoardConfig::Load(int boardIndex) {
    index = boardIndex;
    std::string path = RecordKey(IDS_BOARD_KEY, boardIndex + 1);
    RegistryKey key;
    if (!path.empty()) key.Open(HKEY_LOCAL_MACHINE, path.c_str());
    key.QueryByte("Active Ports", activePorts);
    key.QueryByte("Detected", detected);
    key.QueryByte("Launched", launchedCount);
    key.QueryByte("Port1 is Host", port1IsHost);
    key.QueryDword("Memory Location", memoryLocation);
    key.QueryDword("Physical Location", physicalLocation);
    key.QueryDword("Linear Location", linearLocation);
    key.QueryDword("Memory Size", memorySize);
    key.QueryByte("Physical Ports", physicalPorts);
    key.QueryString("Board Name", boardName);
    if (boardName.empty()) {
        boardName = AfxLoadString(IDS_DEFAULT_BOARD_NAME);
        key.SetString("Board Name", boardName);
    }
    key.Close();
}

void BoardConfig::Save(int boardIndex) {
    std::string path = RecordKey(IDS_BOARD_KEY, boardIndex + 1);
    if (path.empty()) return;
    RegistryKey key;
    key.Create(HKEY_LOCAL_MACHINE, path.c_str());
    key.SetByte("Launched", launchedCount);
    key.SetByte("Detected", detected);
    // Only the first board carries the host's own port.
    if (boardIndex == 0) key.SetByte("Port1 is Host", port1IsHost);
    key.SetDword("Memory Location", memoryLocation);
    key.SetDword("Physical Location", physicalLocation);
    key.SetDword("Linear Location", linearLocation);
    key.SetDword("Memory Size", memorySize);
    key.SetByte("Active Ports", activePorts);
    key.SetByte("Physical Ports", physicalPorts);
    key.SetString("Board Name", boardName);
    key.Close();
}

// ---- Stations ----------------------------------------------------------

void StationConfig::Reset() {
    SystemConfig* system = system_;
    *this = StationConfig();
    system_ = system;
}

BoardConfig* StationConfig::Board() {
    if (!system_ || boardNumber >= static_cast<uint32_t>(SystemConfig::kBoardCount)) return nullptr;
    return &system_->boards[boardNumber];
}

void StationConfig::Load(int stationIndex) {
    index = stationIndex;
    const int number = stationIndex + 1;
    bool changed = false;

    std::string path = RecordKey(IDS_STATION_KEY, number);
    RegistryKey key;
    if (!path.empty()) key.Open(HKEY_LOCAL_MACHINE, path.c_str());
    key.QueryByte("Launched", launched);
    key.QueryByte("AutoLaunch", autoLaunch);
    key.QueryByte("Detected", detected);
    key.QueryByte("OnLine", onLine);
    key.QueryByte("Zq Base Init", baseInit);
    key.QueryByte("Zq Keyboard Init", keyboardInit);
    key.QueryByte("Zq Mouse Init", mouseInit);
    key.QueryDword("IO Handle", ioHandle);
    key.QueryByte("Board Number", boardNumber);
    key.QueryString("Logged In User", loggedInUser);
    key.QueryString("Default User", defaultUser);
    key.QueryString("Station Name", stationName);
    key.QueryByte("Serial1 Enabled", serial1Enabled);
    key.QueryByte("Serial2 Enabled", serial2Enabled);
    key.QueryByte("Printer Enabled", printerEnabled);
    key.QueryString("Serial1 PortName", serial1PortName);
    key.QueryString("Serial2 PortName", serial2PortName);
    key.QueryString("Printer PortName", printerPortName);
    key.QueryString("Serial1 Name", serial1Name);
    key.QueryString("Serial2 Name", serial2Name);
    key.QueryString("Printer Name", printerName);
    key.Close();

    if (launched == 0) {
        loggedInUser = AfxLoadString(IDS_NOBODY);
        changed = true;
    }
    // Each empty text gets its default, made only when it is needed.
    auto fill = [&changed](std::string& field, auto makeDefault) {
        if (!field.empty()) return;
        field = makeDefault();
        changed = true;
    };
    auto formatted = [](UINT pattern, int number) { return AfxFormat(AfxLoadString(pattern).c_str(), number); };
    fill(defaultUser, [&] { return formatted(IDS_DEFAULT_USER, number); });
    fill(stationName, [&] { return formatted(IDS_DEFAULT_STATION_NAME, number); });
    fill(serial1PortName, [&] { return formatted(IDS_SERIAL_DEVICE, 2 * stationIndex + 5); });
    fill(serial1Name,
         [&] { return SerialFriendlyName(AfxLoadString(IDS_SERIAL_FRIENDLY), number, 1, serial1PortName); });
    fill(serial2PortName, [&] { return formatted(IDS_SERIAL_DEVICE, 2 * stationIndex + 6); });
    fill(serial2Name,
         [&] { return SerialFriendlyName(AfxLoadString(IDS_SERIAL_FRIENDLY), number, 2, serial2PortName); });
    // Stations 1 to 6 get LPT4 to LPT9, stations 7 and 8 LPT2 and LPT3.
    fill(printerPortName,
         [&] { return formatted(IDS_PRINTER_DEVICE, stationIndex + 4 < 10 ? stationIndex + 4 : stationIndex - 4); });
    fill(printerName,
         [&] { return PrinterFriendlyName(AfxLoadString(IDS_PRINTER_FRIENDLY), number, printerPortName); });

    // A port whose registration has gone is switched off.
    uint32_t* const enabled[] = {&serial1Enabled, &serial2Enabled, &printerEnabled};
    for (int port = 1; port <= 3; ++port) {
        if (!*enabled[port - 1]) continue;
        RegistryKey hardware;
        if (hardware.Open(HKEY_LOCAL_MACHINE, PortHardwareKey(number, port).c_str()))
            hardware.Close();
        else
            *enabled[port - 1] = 0;
        changed = true;
    }

    if (changed) Save(stationIndex);
}

void StationConfig::Save(int stationIndex) {
    if (!detected) return;
    std::string path = RecordKey(IDS_STATION_KEY, stationIndex + 1);
    if (path.empty()) return;
    RegistryKey key;
    key.Create(HKEY_LOCAL_MACHINE, path.c_str());
    key.SetByte("Launched", launched);
    key.SetByte("AutoLaunch", autoLaunch);
    key.SetByte("OnLine", onLine);
    key.SetByte("Board Number", boardNumber);
    key.SetString("Logged In User", loggedInUser);
    key.SetString("Default User", defaultUser);
    key.SetString("Station Name", stationName);
    key.SetByte("Serial1 Enabled", serial1Enabled);
    key.SetString("Serial1 PortName", serial1PortName);
    key.SetString("Serial1 Name", serial1Name);
    key.SetByte("Serial2 Enabled", serial2Enabled);
    key.SetString("Serial2 PortName", serial2PortName);
    key.SetString("Serial2 Name", serial2Name);
    key.SetByte("Printer Enabled", printerEnabled);
    key.SetString("Printer PortName", printerPortName);
    key.SetString("Printer Name", printerName);
    key.Close();

    struct Port {
        uint32_t enabled;
        const std::string& portName;
        const std::string& friendlyName;
    };
    const Port ports[] = {{serial1Enabled, serial1PortName, serial1Name},
                          {serial2Enabled, serial2PortName, serial2Name},
                          {printerEnabled, printerPortName, printerName}};
    for (int port = 1; port <= 3; ++port) {
        const Port& each = ports[port - 1];
        if (each.enabled) {
            if (port == 3)
                ::RegisterPrinterPort(stationIndex + 1, port, each.portName, each.friendlyName);
            else
                ::RegisterSerialPort(stationIndex + 1, port, each.portName, each.friendlyName);
            ::AddPortListEntry(each.portName);
        } else {
            ::UnregisterPort(stationIndex + 1, port);
            ::RemovePortListEntry(each.portName);
        }
    }
    ::FlushPortList();
}

int StationConfig::Launch(const std::string& userName) {
    if (!detected || launched) return 0;
    if (DriverChannel::LaunchStation(stationName.c_str(), userName.c_str(), index) != 0) {
        ShowAppMessageId(IDS_LAUNCH_REFUSED, MB_OK);
        return 0;
    }
    launched = 1;
    loggedInUser = userName;
    Save(index);
    if (BoardConfig* board = Board()) ++board->launchedCount;
    return 1;
}

int StationConfig::Stop() {
    LaunchRecord record;
    if (!DriverChannel::FindLaunchedStation(index, stationName.c_str(), record)) return 0;
    if (!DriverChannel::StopStation(record)) return 0;
    launched = 0;
    // A count that a reload has already brought to 0 stays there; it would
    // otherwise be stored as 255 launched stations.
    if (BoardConfig* board = Board(); board && board->launchedCount > 0) --board->launchedCount;
    Save(index);
    return 1;
}

void StationConfig::RemovePortListEntry(const std::string& portName) {
    ::RemovePortListEntry(portName);
}

// ---- The whole installation --------------------------------------------

SystemConfig::SystemConfig() {
    for (auto& board : boards) board.Reset();
    for (auto& station : stations) {
        station.system_ = this;
        station.Reset();
    }
    LoadAll();
}

void SystemConfig::LoadGlobals() {
    RegistryKey key;
    key.Open(HKEY_LOCAL_MACHINE, kProductKey);
    key.QueryByte("Shutdown Enabled", shutdownEnabled);
    key.QueryByte("Shutdown Default", shutdownDefault);
    key.QueryByte("AutoLaunch Enabled", autoLaunchEnabled);
    key.QueryByte("DebugTestMessages", debugTestMessages);
    key.Close();
    key.Open(HKEY_LOCAL_MACHINE, kSetupKey);
    key.QueryByte("NoEwxForce", noEwxForce);
    key.Close();
}

void SystemConfig::LoadAll() {
    LoadGlobals();
    for (int i = 0; i < kBoardCount; ++i) boards[i].Load(i);
    for (int i = 0; i < kStationCount; ++i) stations[i].Load(i);
}

void SystemConfig::SaveGlobals() {
    RegistryKey key;
    // Open, not Create: without the product key nothing is written.
    key.Open(HKEY_LOCAL_MACHINE, kProductKey);
    key.SetByte("Shutdown Enabled", shutdownEnabled);
    key.SetByte("Shutdown Default", shutdownDefault);
    key.SetByte("AutoLaunch Enabled", autoLaunchEnabled);
    key.Close();
    FlushMachine();
}

void SystemConfig::SaveAll() {
    for (int i = 0; i < kBoardCount; ++i) {
        if (boards[i].detected) boards[i].Save(i);
    }
    for (int i = 0; i < kStationCount; ++i) {
        if (stations[i].detected) stations[i].Save(i);
    }
    SaveGlobals();
}

void SystemConfig::SaveBoardsAndStations() {
    for (int i = 0; i < kBoardCount; ++i) boards[i].Save(i);
    for (int i = 0; i < kStationCount; ++i) stations[i].Save(i);
    FlushMachine();
}

int SystemConfig::AnyStationRunning() const {
    for (const auto& station : stations) {
        if (station.detected && station.launched) return 1;
    }
    return 0;
}

int SystemConfig::AllDetectedStationsLaunched() const {
    for (const auto& station : stations) {
        if (station.detected && !station.launched) return 0;
    }
    return 1;
}

int SystemConfig::DetectedStationCount() const {
    int count = 0;
    for (const auto& station : stations) count += station.detected ? 1 : 0;
    return count;
}

int SystemConfig::FirstDetectedStation() const {
    for (int i = 0; i < kStationCount; ++i) {
        if (stations[i].detected) return i;
    }
    return 0;
}

int SystemConfig::NameTakenByAnother(int stationIndex, const std::string& name) const {
    for (int i = 0; i < kStationCount; ++i) {
        if (i != stationIndex && stations[i].detected && lstrcmpiA(stations[i].stationName.c_str(), name.c_str()) == 0)
            return 1;
    }
    return 0;
}

int SystemConfig::HasMultipleStations() const {
    return DetectedStationCount() > 1 ? 1 : 0;
}

int SystemConfig::BoardHasModelMarker(int boardIndex) const {
    if (boardIndex < 0 || boardIndex >= kBoardCount) return 0;
    return NameHasModelMarker(boards[boardIndex].boardName) ? 1 : 0;
}

int SystemConfig::StationBoardHasModelMarker(int stationIndex) const {
    if (stationIndex < 0 || stationIndex >= kStationCount) return 0;
    uint32_t board = stations[stationIndex].boardNumber;
    // A board number outside 0 to 3 names no board, so no marker.
    return board < static_cast<uint32_t>(kBoardCount) ? BoardHasModelMarker(static_cast<int>(board)) : 0;
}

int SystemConfig::AnyBoardHasModelMarker() const {
    for (int i = 0; i < kBoardCount; ++i) {
        if (BoardHasModelMarker(i)) return 1;
    }
    return 0;
}
