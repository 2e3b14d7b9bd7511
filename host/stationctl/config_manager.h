// A restart as the station side sees it: the configuration manager finds the
// devices present and lists each under HKEY_DYN_DATA "Config Manager\Enum",
// in a subkey named "C" and eight hex digits whose "HardWareKey" names the
// device's hardware key relative to "Enum". The station sheet looks there to
// learn whether a serial port's device is live.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "outcome.h"

namespace stationctl {

inline constexpr int kBoardCount = 4;

struct PortId {
    int station;  // n of App<n>Port<k>
    int port;     // k
};

// "App<n>Port<k>", the letters in any case (registry names ignore case), the
// numbers 1 to 999 written without leading zeros. Anything else is not a
// port hardware key.
std::optional<PortId> ParsePortKeyName(std::string_view name);

struct PresentDevice {
    std::string nodeName;     // "C" + 8 hex digits
    std::string hardwareKey;  // relative to "Enum"
};

// What the configuration manager lists: the detected boards (index 0 is
// board 1), then every port hardware key, ordered by station and port. Names
// that are not port keys are passed over. Node names follow from the device
// alone, so a device keeps its name from one restart to the next.
// PCI functions are given as "DEVICE\INSTANCE" below "Enum\Pci" and listed
// after the product's own devices, in the order given.
std::vector<PresentDevice> PresentDevices(const std::array<bool, kBoardCount>& detectedBoards,
                                          const std::vector<std::string>& portKeyNames,
                                          const std::vector<std::string>& pciInstances = {});

// Reads the boards' "Detected" values, the port hardware keys and the PCI
// functions.
Outcome FindPresentDevices(std::vector<PresentDevice>& devices);

// Empties "Config Manager\Enum" (the key itself stays) and lists the devices
// in it.
Outcome RebuildConfigManagerEnum(const std::vector<PresentDevice>& devices);

}  // namespace stationctl
