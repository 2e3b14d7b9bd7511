#include "scaled_branch.h"

#include <windows.h>

#include <cstdio>

#include "registry_paths.h"

namespace bench {

namespace {

const char kHardwareKeys[] = "Enum\\Root\\Ternway";

std::string Numbered(const char* format, int number) {
    char text[128];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

std::string Numbered(const char* format, int first, int second) {
    char text[128];
    std::snprintf(text, sizeof text, format, first, second);
    return text;
}

}  // namespace

ScaledBranch::ScaledBranch() {
    Keep(kProductKey);
    Keep(kHardwareKeys);
}

ScaledBranch::~ScaledBranch() {
    kept_.clear();
    RegFlushKey(HKEY_LOCAL_MACHINE);
}

// A key whose parents are missing is kept by its outermost missing parent,
// so that the parents the layout creates go again too.
void ScaledBranch::Keep(const std::string& path) {
    kept_.push_back(std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE,
                                                                   test_support::KeyToKeep(HKEY_LOCAL_MACHINE, path)));
}

void ScaledBranch::PutKey(const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return;
    RegCloseKey(key);
    ++keys_;
}

void ScaledBranch::PutBytes(const std::string& path, const char* name, const void* data, unsigned length) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return;
    if (RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), length) == ERROR_SUCCESS) ++values_;
    RegCloseKey(key);
}

void ScaledBranch::PutString(const std::string& path, const char* name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return;
    if (RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS)
        ++values_;
    RegCloseKey(key);
}

void ScaledBranch::PutDword(const std::string& path, const char* name, unsigned long value) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return;
    const DWORD number = value;
    if (RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number) == ERROR_SUCCESS)
        ++values_;
    RegCloseKey(key);
}

void ScaledBranch::Fill(int scale) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kHardwareKeys);
    keys_ = values_ = 0;
    const BYTE one = 1, zero = 0;
    const std::string setup = kSetupKey;

    // The product key, with the values a new installation writes itself
    // (which the snapshot leaves out) beside those it carries over.
    PutKey(kProductKey);
    PutString(kProductKey, "Product Name", "Zelto KX4");
    PutString(kProductKey, "Product Type", "KX4");
    PutString(kProductKey, "Install Directory", "C:\\Program Files\\Quillon\\Orvanta");
    PutString(kProductKey, "Install Language", "enu");
    PutString(kProductKey, "Install Menu", "Quillon Orvanta");
    PutString(kProductKey, "Orvanta Interface", "2");
    PutBytes(kProductKey, "Shutdown Enabled", &one, 1);
    PutBytes(kProductKey, "Shutdown Default", &one, 1);
    PutBytes(kProductKey, "AutoLaunch Enabled", &one, 1);
    PutBytes(kProductKey, "DebugTestMessages", &zero, 1);
    PutKey(setup);
    PutBytes(setup, "NoEwxForce", &zero, 1);

    std::vector<std::string> holders;
    for (int number = 1; number <= 4; ++number) {
        const std::string key = setup + Numbered("\\Board%d", number);
        const DWORD window = 0xD0000 + 0x2000 * (number - 1);
        PutKey(key);
        PutBytes(key, "Detected", &one, 1);
        PutString(key, "Board Name", "KX4 Station Adapter");
        PutBytes(key, "Port1 is Host", number == 1 ? &one : &zero, 1);
        PutBytes(key, "Active Ports", "\2", 1);
        PutBytes(key, "Memory Location", &window, 4);
        PutBytes(key, "Memory Size", "\0\x20\0\0", 4);
        holders.push_back(key);
    }
    for (int number = 1; number <= 8; ++number) {
        const std::string key = setup + Numbered("\\Station%d", number);
        PutKey(key);
        PutBytes(key, "Detected", &one, 1);
        PutString(key, "Station Name", Numbered("Station%d", number));
        PutString(key, "Default User", Numbered("User%d", number));
        PutString(key, "Current User", Numbered("User%d", number));
        PutString(key, "DriverVersion", "4.10.2222");
        PutBytes(key, "AutoLaunch", &one, 1);
        PutBytes(key, "Serial1 Enabled", &one, 1);
        PutString(key, "Serial1 PortName", Numbered("COM%d", 2 * number + 3));
        PutString(key, "Serial1 Name", Numbered("Station%d Serial1 (COM%d)", number, 2 * number + 3));
        holders.push_back(key);
    }

    // The stations' port devices, as the control center registers them.
    for (int station = 1; station <= 8; ++station) {
        for (int port = 1; port <= 3; ++port) {
            const std::string key = std::string(kHardwareKeys) + Numbered("\\App%dPort%d", station, port);
            const std::string name = port == 3 ? Numbered("LPT%d", station) : Numbered("COM%d", 2 * station + port);
            const BYTE numbers[2] = {static_cast<BYTE>(port), static_cast<BYTE>(station)};
            PutKey(key);
            PutString(key, "Class", "Ports");
            PutBytes(key, "ConfigFlags", "\0\0\0", 4);
            PutString(key, "DeviceDesc", Numbered("Station%d port %d", station, port));
            PutString(key, "Driver", Numbered("Ports\\App%dPort%d", station, port));
            PutString(key, "FriendlyName", Numbered("Station%d port %d", station, port));
            PutString(key, "HardwareID", port == 3 ? "Ternway Parallel Port" : "Ternway Serial Port");
            PutString(key, "Mfg", "Quillon");
            PutString(key, "PortName", name);
            PutBytes(key, "PortNum", &numbers[0], 1);
            PutBytes(key, "Station", &numbers[1], 1);
        }
    }

    // The extra entries, round the board and station keys in turn.
    for (int entry = 0; entry < scale * 100; ++entry) {
        const std::string& holder = holders[entry % holders.size()];
        const std::string name = Numbered("Extra%04d", entry);
        switch (entry % 4) {
        case 0: {
            const std::string subkey = holder + "\\" + name;
            PutKey(subkey);
            PutString(subkey, "Note", Numbered("Extra entry %d, kept across a reinstallation", entry));
            break;
        }
        case 1:
            PutString(holder, name.c_str(), Numbered("Extra value %d with a \"quoted\" C:\\path", entry));
            break;
        case 2: {
            BYTE bytes[16];
            for (int i = 0; i < 16; ++i) bytes[i] = static_cast<BYTE>(entry + i);
            PutBytes(holder, name.c_str(), bytes, sizeof bytes);
            break;
        }
        default:
            PutDword(holder, name.c_str(), 0x10000u + entry);
            break;
        }
    }
    RegFlushKey(HKEY_LOCAL_MACHINE);
}

}  // namespace bench
