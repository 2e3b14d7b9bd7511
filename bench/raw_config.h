// The configuration store's load and save written straight against the
// registry and profile functions, as a C programmer would write them: fixed
// buffers, key paths and texts as constants, no strings on the heap and no
// resource lookups. It issues exactly the calls SystemConfig::LoadAll and
// SystemConfig::SaveAll issue, in their order, with the same keys, values
// and buffer sizes; config_bench compares the two call sequences before it
// times them, so the difference in time is what our layer adds on top.
#pragma once

#include <cstdint>

namespace bench {

struct RawConfig {
    // One byte more than the registry's reads can fill, for a terminator.
    static constexpr int kTextSize = 513;

    struct Board {
        uint32_t detected = 0;
        uint32_t port1IsHost = 0;
        uint32_t linearLocation = 0;
        uint32_t memoryLocation = 0;
        uint32_t memorySize = 0;
        uint32_t physicalLocation = 0;
        uint32_t activePorts = 0;
        uint32_t physicalPorts = 0;
        uint32_t launchedCount = 0;
        char boardName[kTextSize] = {};
    };

    struct Station {
        uint32_t autoLaunch = 0;
        uint32_t detected = 0;
        uint32_t launched = 0;
        uint32_t serial1Enabled = 0;
        uint32_t serial2Enabled = 0;
        uint32_t printerEnabled = 0;
        uint32_t baseInit = 0;
        uint32_t keyboardInit = 0;
        uint32_t mouseInit = 0;
        uint32_t ioHandle = 0;
        uint32_t boardNumber = 0;
        uint32_t onLine = 0;
        char loggedInUser[kTextSize] = {};
        char defaultUser[kTextSize] = {};
        char serial1PortName[kTextSize] = {};
        char serial2PortName[kTextSize] = {};
        char printerPortName[kTextSize] = {};
        char serial1Name[kTextSize] = {};
        char serial2Name[kTextSize] = {};
        char printerName[kTextSize] = {};
        char stationName[kTextSize] = {};
    };

    Board boards[4];
    Station stations[8];
    uint32_t shutdownDefault = 0;
    uint32_t shutdownEnabled = 0;
    uint32_t autoLaunchEnabled = 0;
    uint32_t noEwxForce = 0;
    uint32_t debugTestMessages = 0;

    void LoadAll();
    void SaveAll();

private:
    void LoadBoard(int index);
    void SaveBoard(int index);
    void LoadStation(int index);
    void SaveStation(int index);
};

}  // namespace bench
