#include "config_manager.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "registry_key.h"
#include "registry_paths.h"

namespace stationctl {

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// A number 1 to 999 at the front of text, without leading zeros; consumed.
std::optional<int> TakeNumber(std::string_view& text) {
    size_t length = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9') ++length;
    if (length == 0 || length > 3 || text[0] == '0') return std::nullopt;
    int value = 0;
    for (size_t i = 0; i < length; ++i) value = value * 10 + (text[i] - '0');
    text.remove_prefix(length);
    return value;
}

std::string NodeName(uint32_t id) {
    char name[10];
    std::snprintf(name, sizeof name, "C%08X", static_cast<unsigned>(id));
    return name;
}

}  // namespace

std::optional<PortId> ParsePortKeyName(std::string_view name) {
    if (!StartsWithIgnoringCase(name, "app")) return std::nullopt;
    name.remove_prefix(3);
    auto station = TakeNumber(name);
    if (!station || !StartsWithIgnoringCase(name, "port")) return std::nullopt;
    name.remove_prefix(4);
    auto port = TakeNumber(name);
    if (!port || !name.empty()) return std::nullopt;
    return PortId{*station, *port};
}

std::vector<PresentDevice> PresentDevices(const std::array<bool, kBoardCount>& detectedBoards,
                                          const std::vector<std::string>& portKeyNames,
                                          const std::vector<std::string>& pciInstances) {
    std::vector<PresentDevice> devices;
    for (int board = 1; board <= kBoardCount; ++board) {
        if (!detectedBoards[board - 1]) continue;
        devices.push_back(
            {NodeName(0x20000000u | static_cast<uint32_t>(board)), "Root\\Ternway\\Board" + std::to_string(board)});
    }
    std::vector<PortId> ports;
    for (const std::string& name : portKeyNames) {
        if (auto port = ParsePortKeyName(name)) ports.push_back(*port);
    }
    std::sort(ports.begin(), ports.end(),
              [](PortId a, PortId b) { return a.station != b.station ? a.station < b.station : a.port < b.port; });
    // Station and port fit in 12 and 16 bits, so no two ports share a name.
    for (PortId port : ports) {
        uint32_t id = 0x10000000u | static_cast<uint32_t>(port.station) << 16 | static_cast<uint32_t>(port.port);
        devices.push_back(
            {NodeName(id), "Root\\Ternway\\App" + std::to_string(port.station) + "Port" + std::to_string(port.port)});
    }
    uint32_t function = 0;
    for (const std::string& instance : pciInstances)
        devices.push_back({NodeName(0x30000000u | function++), "PCI\\" + instance});
    return devices;
}

Outcome FindPresentDevices(std::vector<PresentDevice>& devices) {
    std::array<bool, kBoardCount> detected = {};
    for (int board = 1; board <= kBoardCount; ++board) {
        RegKey key;
        if (key.Open(HKEY_LOCAL_MACHINE, BoardKey(board)) != ERROR_SUCCESS) continue;
        auto value = key.QueryNumber("Detected");
        detected[board - 1] = value && *value != 0;
    }
    std::vector<std::string> portKeys;
    RegKey ports;
    LONG error = ports.Open(HKEY_LOCAL_MACHINE, kPortHardwareRoot);
    if (error == ERROR_SUCCESS) {
        portKeys = ports.SubkeyNames(error);
        if (error != ERROR_SUCCESS)
            return Outcome::Failed(std::string("cannot list HKLM\\") + kPortHardwareRoot + ": " + ErrorText(error));
    } else if (error != ERROR_FILE_NOT_FOUND) {
        return Outcome::Failed(std::string("cannot open HKLM\\") + kPortHardwareRoot + ": " + ErrorText(error));
    }
    // The PCI functions the host's registry knows of are all present.
    std::vector<std::string> pciInstances;
    RegKey pci;
    if (pci.Open(HKEY_LOCAL_MACHINE, "Enum\\Pci") == ERROR_SUCCESS) {
        for (const std::string& device : pci.SubkeyNames(error)) {
            RegKey functions;
            if (functions.Open(pci.get(), device) != ERROR_SUCCESS) continue;
            for (const std::string& instance : functions.SubkeyNames(error))
                pciInstances.push_back(device + "\\" + instance);
        }
    }
    devices = PresentDevices(detected, portKeys, pciInstances);
    return Outcome::Success();
}

Outcome RebuildConfigManagerEnum(const std::vector<PresentDevice>& devices) {
    const std::string where = std::string("HKEY_DYN_DATA\\") + kConfigManagerEnum;
    RegKey list;
    LONG error = list.Create(HKEY_DYN_DATA, kConfigManagerEnum);
    if (error != ERROR_SUCCESS) return Outcome::Failed("cannot create " + where + ": " + ErrorText(error));
    std::vector<std::string> stale = list.SubkeyNames(error);
    if (error != ERROR_SUCCESS) return Outcome::Failed("cannot list " + where + ": " + ErrorText(error));
    // Names are gathered first: deleting while enumerating shifts the
    // indexes under the enumeration.
    for (const std::string& name : stale) {
        error = DeleteKeyTree(list.get(), name);
        if (error != ERROR_SUCCESS)
            return Outcome::Failed("cannot delete " + where + "\\" + name + ": " + ErrorText(error));
    }
    for (const PresentDevice& device : devices) {
        RegKey node;
        error = node.Create(list.get(), device.nodeName);
        if (error == ERROR_SUCCESS) error = node.SetString("HardWareKey", device.hardwareKey);
        if (error == ERROR_SUCCESS) error = node.SetDword("Status", 0);
        if (error == ERROR_SUCCESS) error = node.SetDword("Problem", 0);
        if (error != ERROR_SUCCESS)
            return Outcome::Failed("cannot write " + where + "\\" + device.nodeName + ": " + ErrorText(error));
    }
    return Outcome::Success();
}

}  // namespace stationctl
