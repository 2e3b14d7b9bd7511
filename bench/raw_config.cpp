#include "raw_config.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace bench {

namespace {

constexpr DWORD kBufferSize = 512;  // what the store's reads offer
constexpr size_t kLongestText = kBufferSize - 1;

const char kProductKey[] = "Software\\Quillon\\Orvanta";
const char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";
const char kMaker[] = "Quillon, Inc.";
const char kPortDriver[] = "Serlink.vxd";
// The texts of ZELTO.DLL that the store loads, as they stand in strings.rc.
const char kProductVersion[] = "4.00";
const char kDriverDate[] = "3-15-1999";

const BYTE kDefaultDcb[28] = {0x1C, 0x00, 0x00, 0x00, 0x80, 0x25, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                              0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x11, 0x13, 0x00, 0x00, 0x00, 0x00, 0x00};

using Text = char[RawConfig::kTextSize];

// The store opens with full access, and a key that will not open is null.
HKEY Open(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

HKEY Create(const char* path) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

void Close(HKEY key) {
    if (key) RegCloseKey(key);
}

// Reads leave the field as it was when the value is missing or too long.
void ReadByte(HKEY key, const char* name, uint32_t& field) {
    if (!key) return;
    BYTE byte = 0;
    DWORD size = sizeof byte;
    if (RegQueryValueExA(key, name, nullptr, nullptr, &byte, &size) == ERROR_SUCCESS) field = byte;
}

void ReadDword(HKEY key, const char* name, uint32_t& field) {
    if (!key) return;
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key, name, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) return;
    field = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void ReadText(HKEY key, const char* name, Text& field) {
    if (!key) return;
    char buffer[kBufferSize] = {};
    DWORD size = kBufferSize;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) return;
    size_t length = strnlen(buffer, kBufferSize);
    std::memcpy(field, buffer, length);
    field[length] = '\0';
}

void WriteBytes(HKEY key, const char* name, const void* data, DWORD length) {
    if (!key) return;
    RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), length);
}

void WriteByte(HKEY key, const char* name, uint32_t value) {
    BYTE byte = static_cast<BYTE>(value);
    WriteBytes(key, name, &byte, 1);
}

void WriteDword(HKEY key, const char* name, uint32_t value) {
    BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                     static_cast<BYTE>(value >> 24)};
    WriteBytes(key, name, bytes, 4);
}

void WriteText(HKEY key, const char* name, const char* text) {
    if (!key) return;
    size_t length = strnlen(text, kLongestText);
    const char* data = text;
    // A text of the full 512 bytes is cut to 511 and ends with a zero, as
    // the store writes it.
    char cut[kBufferSize] = {};
    if (text[length] != '\0') {
        std::memcpy(cut, text, length);
        data = cut;
    }
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), static_cast<DWORD>(length + 1));
}

void Format(Text& field, const char* format, auto... arguments) {
    std::snprintf(field, sizeof field, format, arguments...);
}

void HardwareKeyPath(char* path, size_t size, int station, int port) {
    std::snprintf(path, size, "Enum\\Root\\Ternway\\App%dPort%d", station, port);
}

void DriverKeyPath(char* path, size_t size, int station, int port) {
    std::snprintf(path, size, "System\\CurrentControlSet\\Services\\Class\\Ports\\App%dPort%d", station, port);
}

void WriteHardwareKey(int station, int port, const char* portName, const char* friendlyName) {
    char path[128];
    HardwareKeyPath(path, sizeof path, station, port);
    HKEY key = Create(path);
    if (!key) return;
    const BYTE noFlags[4] = {};
    char driver[64];
    std::snprintf(driver, sizeof driver, "Ports\\App%dPort%d", station, port);
    WriteText(key, "Class", "Ports");
    WriteBytes(key, "ConfigFlags", noFlags, sizeof noFlags);
    WriteText(key, "DeviceDesc", friendlyName);
    WriteText(key, "Driver", driver);
    WriteText(key, "FriendlyName", friendlyName);
    WriteText(key, "HardwareID", port == 3 ? "Ternway Parallel Port" : "Ternway Serial Port");
    WriteText(key, "HWRevision", kProductVersion);
    WriteText(key, "Mfg", kMaker);
    WriteText(key, "PortName", portName);
    WriteByte(key, "PortNum", static_cast<uint32_t>(port));
    WriteByte(key, "Station", static_cast<uint32_t>(station));
    Close(key);
}

void WriteSerialDriverKey(int station, int port, const char* friendlyName) {
    char path[128];
    DriverKeyPath(path, sizeof path, station, port);
    HKEY key = Create(path);
    if (!key) return;
    WriteText(key, "ConfigDialog", "Serlink.dll");
    WriteBytes(key, "DCB", kDefaultDcb, sizeof kDefaultDcb);
    WriteText(key, "DevLoader", "*vcomm");
    WriteText(key, "DriverDate", kDriverDate);
    WriteText(key, "DriverDesc", friendlyName);
    WriteText(key, "DriverVersion", kProductVersion);
    WriteText(key, "EnumPropPages", "Serlink.dll,EnumPropPages");
    WriteText(key, "InfPath", "MSPORTS.INF");
    WriteText(key, "InfSection", "ComPort");
    WriteText(key, "PortDriver", kPortDriver);
    WriteByte(key, "PortSubClass", 1);
    WriteText(key, "ProviderName", kMaker);
    Close(key);
}

void WritePrinterDriverKey(int station, int port, const char* friendlyName) {
    char path[128];
    DriverKeyPath(path, sizeof path, station, port);
    HKEY key = Create(path);
    if (!key) return;
    WriteText(key, "DevLoader", "*vcomm");
    WriteText(key, "DriverDate", kDriverDate);
    WriteText(key, "DriverDesc", friendlyName);
    WriteText(key, "DriverVersion", kProductVersion);
    WriteText(key, "InfPath", "MSPORTS.INF");
    WriteText(key, "InfSection", "LptPort");
    WriteText(key, "PortDriver", kPortDriver);
    WriteByte(key, "PortSubClass", 0);
    WriteText(key, "ProviderName", kMaker);
    Close(key);
}

void RemovePort(int station, int port) {
    char path[128];
    HardwareKeyPath(path, sizeof path, station, port);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
    DriverKeyPath(path, sizeof path, station, port);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
}

}  // namespace

void RawConfig::LoadAll() {
    HKEY key = Open(kProductKey);
    ReadByte(key, "Shutdown Enabled", shutdownEnabled);
    ReadByte(key, "Shutdown Default", shutdownDefault);
    ReadByte(key, "AutoLaunch Enabled", autoLaunchEnabled);
    ReadByte(key, "DebugTestMessages", debugTestMessages);
    Close(key);
    key = Open(kSetupKey);
    ReadByte(key, "NoEwxForce", noEwxForce);
    Close(key);
    for (int i = 0; i < 4; ++i) LoadBoard(i);
    for (int i = 0; i < 8; ++i) LoadStation(i);
}

void RawConfig::SaveAll() {
    for (int i = 0; i < 4; ++i) {
        if (boards[i].detected) SaveBoard(i);
    }
    for (int i = 0; i < 8; ++i) {
        if (stations[i].detected) SaveStation(i);
    }
    HKEY key = Open(kProductKey);
    WriteByte(key, "Shutdown Enabled", shutdownEnabled);
    WriteByte(key, "Shutdown Default", shutdownDefault);
    WriteByte(key, "AutoLaunch Enabled", autoLaunchEnabled);
    Close(key);
    RegFlushKey(HKEY_LOCAL_MACHINE);
}

void RawConfig::LoadBoard(int index) {
    Board& board = boards[index];
    char path[128];
    std::snprintf(path, sizeof path, "%s\\Board%d", kSetupKey, index + 1);
    HKEY key = Open(path);
    ReadByte(key, "Active Ports", board.activePorts);
    ReadByte(key, "Detected", board.detected);
    ReadByte(key, "Launched", board.launchedCount);
    ReadByte(key, "Port1 is Host", board.port1IsHost);
    ReadDword(key, "Memory Location", board.memoryLocation);
    ReadDword(key, "Physical Location", board.physicalLocation);
    ReadDword(key, "Linear Location", board.linearLocation);
    ReadDword(key, "Memory Size", board.memorySize);
    ReadByte(key, "Physical Ports", board.physicalPorts);
    ReadText(key, "Board Name", board.boardName);
    if (!board.boardName[0]) {
        Format(board.boardName, "%s", "Station Adapter");
        WriteText(key, "Board Name", board.boardName);
    }
    Close(key);
}

void RawConfig::SaveBoard(int index) {
    const Board& board = boards[index];
    char path[128];
    std::snprintf(path, sizeof path, "%s\\Board%d", kSetupKey, index + 1);
    HKEY key = Create(path);
    WriteByte(key, "Launched", board.launchedCount);
    WriteByte(key, "Detected", board.detected);
    if (index == 0) WriteByte(key, "Port1 is Host", board.port1IsHost);
    WriteDword(key, "Memory Location", board.memoryLocation);
    WriteDword(key, "Physical Location", board.physicalLocation);
    WriteDword(key, "Linear Location", board.linearLocation);
    WriteDword(key, "Memory Size", board.memorySize);
    WriteByte(key, "Active Ports", board.activePorts);
    WriteByte(key, "Physical Ports", board.physicalPorts);
    WriteText(key, "Board Name", board.boardName);
    Close(key);
}

void RawConfig::LoadStation(int index) {
    Station& station = stations[index];
    const int number = index + 1;
    bool changed = false;
    char path[128];
    std::snprintf(path, sizeof path, "%s\\Station%d", kSetupKey, number);
    HKEY key = Open(path);
    ReadByte(key, "Launched", station.launched);
    ReadByte(key, "AutoLaunch", station.autoLaunch);
    ReadByte(key, "Detected", station.detected);
    ReadByte(key, "OnLine", station.onLine);
    ReadByte(key, "Zq Base Init", station.baseInit);
    ReadByte(key, "Zq Keyboard Init", station.keyboardInit);
    ReadByte(key, "Zq Mouse Init", station.mouseInit);
    ReadDword(key, "IO Handle", station.ioHandle);
    ReadByte(key, "Board Number", station.boardNumber);
    ReadText(key, "Logged In User", station.loggedInUser);
    ReadText(key, "Default User", station.defaultUser);
    ReadText(key, "Station Name", station.stationName);
    ReadByte(key, "Serial1 Enabled", station.serial1Enabled);
    ReadByte(key, "Serial2 Enabled", station.serial2Enabled);
    ReadByte(key, "Printer Enabled", station.printerEnabled);
    ReadText(key, "Serial1 PortName", station.serial1PortName);
    ReadText(key, "Serial2 PortName", station.serial2PortName);
    ReadText(key, "Printer PortName", station.printerPortName);
    ReadText(key, "Serial1 Name", station.serial1Name);
    ReadText(key, "Serial2 Name", station.serial2Name);
    ReadText(key, "Printer Name", station.printerName);
    Close(key);

    if (station.launched == 0) {
        Format(station.loggedInUser, "%s", "(none)");
        changed = true;
    }
    if (!station.defaultUser[0]) {
        Format(station.defaultUser, "User%d", number);
        changed = true;
    }
    if (!station.stationName[0]) {
        Format(station.stationName, "Station%d", number);
        changed = true;
    }
    if (!station.serial1PortName[0]) {
        Format(station.serial1PortName, "COM%d", 2 * index + 5);
        changed = true;
    }
    if (!station.serial1Name[0]) {
        Format(station.serial1Name, "Station%d Serial%i (%s)", number, 1, station.serial1PortName);
        changed = true;
    }
    if (!station.serial2PortName[0]) {
        Format(station.serial2PortName, "COM%d", 2 * index + 6);
        changed = true;
    }
    if (!station.serial2Name[0]) {
        Format(station.serial2Name, "Station%d Serial%i (%s)", number, 2, station.serial2PortName);
        changed = true;
    }
    if (!station.printerPortName[0]) {
        Format(station.printerPortName, "LPT%d", index + 4 < 10 ? index + 4 : index - 4);
        changed = true;
    }
    if (!station.printerName[0]) {
        Format(station.printerName, "Station%d Printer (%s)", number, station.printerPortName);
        changed = true;
    }

    uint32_t* const enabled[] = {&station.serial1Enabled, &station.serial2Enabled, &station.printerEnabled};
    for (int port = 1; port <= 3; ++port) {
        if (!*enabled[port - 1]) continue;
        HardwareKeyPath(path, sizeof path, number, port);
        HKEY hardware = Open(path);
        if (hardware)
            Close(hardware);
        else
            *enabled[port - 1] = 0;
        changed = true;
    }

    if (changed) SaveStation(index);
}

void RawConfig::SaveStation(int index) {
    const Station& station = stations[index];
    if (!station.detected) return;
    const int number = index + 1;
    char path[128];
    std::snprintf(path, sizeof path, "%s\\Station%d", kSetupKey, number);
    HKEY key = Create(path);
    WriteByte(key, "Launched", station.launched);
    WriteByte(key, "AutoLaunch", station.autoLaunch);
    WriteByte(key, "OnLine", station.onLine);
    WriteByte(key, "Board Number", station.boardNumber);
    WriteText(key, "Logged In User", station.loggedInUser);
    WriteText(key, "Default User", station.defaultUser);
    WriteText(key, "Station Name", station.stationName);
    WriteByte(key, "Serial1 Enabled", station.serial1Enabled);
    WriteText(key, "Serial1 PortName", station.serial1PortName);
    WriteText(key, "Serial1 Name", station.serial1Name);
    WriteByte(key, "Serial2 Enabled", station.serial2Enabled);
    WriteText(key, "Serial2 PortName", station.serial2PortName);
    WriteText(key, "Serial2 Name", station.serial2Name);
    WriteByte(key, "Printer Enabled", station.printerEnabled);
    WriteText(key, "Printer PortName", station.printerPortName);
    WriteText(key, "Printer Name", station.printerName);
    Close(key);

    const struct {
        uint32_t enabled;
        const char* portName;
        const char* friendlyName;
    } ports[] = {{station.serial1Enabled, station.serial1PortName, station.serial1Name},
                 {station.serial2Enabled, station.serial2PortName, station.serial2Name},
                 {station.printerEnabled, station.printerPortName, station.printerName}};
    for (int port = 1; port <= 3; ++port) {
        const auto& each = ports[port - 1];
        if (each.enabled) {
            WriteHardwareKey(number, port, each.portName, each.friendlyName);
            if (port == 3)
                WritePrinterDriverKey(number, port, each.friendlyName);
            else
                WriteSerialDriverKey(number, port, each.friendlyName);
            if (each.portName[0]) WriteProfileStringA("Ports", each.portName, "");
        } else {
            RemovePort(number, port);
            if (each.portName[0]) WriteProfileStringA("Ports", each.portName, nullptr);
        }
    }
    WriteProfileStringA(nullptr, nullptr, nullptr);
}

}  // namespace bench
