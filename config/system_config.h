// The in-memory picture of one multi-station installation: four adapter
// boards, eight stations and five global settings, cached from the
// product's registry branch under HKEY_LOCAL_MACHINE. Boards and stations
// are numbered from 1 in the registry and indexed from 0 here.
#pragma once

#include <cstdint>
#include <string>

struct SystemConfig;

extern const char kProductKey[];  // "Software\Quillon\Orvanta"
extern const char kSetupKey[];    // "Software\Quillon\Orvanta\Setup"

struct BoardConfig {
    int index = 0;
    uint32_t detected = 0;
    uint32_t port1IsHost = 0;
    uint32_t linearLocation = 0;
    uint32_t memoryLocation = 0;  // 0 stands for the automatic choice
    uint32_t memorySize = 0;
    uint32_t physicalLocation = 0;
    uint32_t activePorts = 0;
    uint32_t physicalPorts = 0;
    uint32_t launchedCount = 0;
    std::string boardName;

    void Reset();
    void Load(int boardIndex);
    void Save(int boardIndex);
};

struct StationConfig {
    int index = 0;
    uint32_t autoLaunch = 0;
    uint32_t detected = 0;
    uint32_t launched = 0;
    uint32_t serial1Enabled = 0;
    uint32_t serial2Enabled = 0;
    uint32_t printerEnabled = 0;  // 0 off; 1 or 2 on, also the printer mode
    uint32_t baseInit = 0;
    uint32_t keyboardInit = 0;
    uint32_t mouseInit = 0;
    uint32_t ioHandle = 0;
    uint32_t boardNumber = 0;  // index of the board the station is attached to
    std::string loggedInUser;
    std::string defaultUser;
    std::string serial1PortName;
    std::string serial2PortName;
    std::string printerPortName;
    std::string serial1Name;
    std::string serial2Name;
    std::string printerName;
    std::string stationName;
    uint32_t onLine = 0;

    void Reset();
    // Fills in defaults for what the registry lacks and switches off ports
    // whose registration has gone. The station is saved when a default was
    // filled in or any port is enabled: the registration test of an enabled
    // port counts as a change even when the port stays on, so its
    // registration is written again at every load.
    void Load(int stationIndex);
    // Writes a detected station and registers or removes its ports.
    void Save(int stationIndex);
    // Asks the driver to launch the station for the user; 1 on success.
    int Launch(const std::string& userName);
    // Asks the driver to stop the station; 1 on success.
    int Stop();

    // Takes a port name off win.ini's port list (a port that was renamed).
    void RemovePortListEntry(const std::string& portName);

    // The board the station is attached to, or null for a board number that
    // another tool wrote outside 0 to 3.
    BoardConfig* Board();

private:
    friend struct SystemConfig;
    SystemConfig* system_ = nullptr;
};

struct SystemConfig {
    static const int kBoardCount = 4;
    static const int kStationCount = 8;

    BoardConfig boards[kBoardCount];
    StationConfig stations[kStationCount];
    uint32_t shutdownDefault = 0;
    uint32_t shutdownEnabled = 0;
    uint32_t autoLaunchEnabled = 0;
    uint32_t noEwxForce = 0;
    uint32_t debugTestMessages = 0;

    // Resets every record and loads the registry.
    SystemConfig();
    SystemConfig(const SystemConfig&) = delete;
    SystemConfig& operator=(const SystemConfig&) = delete;

    void LoadAll();
    void LoadGlobals();
    void SaveAll();
    void SaveGlobals();
    void SaveBoardsAndStations();

    int AnyStationRunning() const;
    int AllDetectedStationsLaunched() const;
    int DetectedStationCount() const;
    int HasMultipleStations() const;
    // The index of the first detected station, 0 when none is: the station a
    // command acts on when there is no other to pick. Only a detected
    // station is written back.
    int FirstDetectedStation() const;
    // Whether another detected station has this name, compared without case
    // as the driver compares names.
    int NameTakenByAnother(int stationIndex, const std::string& name) const;
    int BoardHasModelMarker(int boardIndex) const;
    int StationBoardHasModelMarker(int stationIndex) const;
    int AnyBoardHasModelMarker() const;
};

// Whether a board name carries one of the model markers "PA-", "PB-",
// "PBX-" or "PC-" anywhere.
bool NameHasModelMarker(const std::string& boardName);

// A serial port's friendly name from a template holding "%d" (station),
// "%i" (port) and "%s" (device name) in one of the two orders the product
// knows; any other template gives "Station<n> Serial<k> (<device>)".
std::string SerialFriendlyName(const std::string& pattern, int stationNumber, int port, const std::string& portName);
// The printer's friendly name: "%d" before "%s" takes (station, device),
// otherwise (device, station).
std::string PrinterFriendlyName(const std::string& pattern, int stationNumber, const std::string& portName);
