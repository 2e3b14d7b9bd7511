#include "bench_installation.h"

#include <cstdint>
#include <cstdio>

#include "port_registration.h"
#include "system_config.h"

namespace bench {

namespace {

const char kHardwareKeys[] = "Enum\\Root\\Ternway";
const char kDriverKeys[] = "System\\CurrentControlSet\\Services\\Class\\Ports";

// Values as the setup library and the stations write them: numbers as
// binary values of one or four bytes, texts as strings.
void Put(const std::string& path, const char* name, DWORD type, const void* data, DWORD length) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), length);
    RegCloseKey(key);
}

void PutByte(const std::string& path, const char* name, BYTE value) {
    Put(path, name, REG_BINARY, &value, 1);
}

void PutDword(const std::string& path, const char* name, uint32_t value) {
    BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                     static_cast<BYTE>(value >> 24)};
    Put(path, name, REG_BINARY, bytes, 4);
}

void PutString(const std::string& path, const char* name, const std::string& value) {
    Put(path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

std::string Numbered(const char* format, int number) {
    char text[128];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

}  // namespace

BenchInstallation::BenchInstallation() {
    Keep(kProductKey);
    Keep(kHardwareKeys);
    Keep(kDriverKeys);
    std::vector<char> entries(32768);
    DWORD length = GetProfileSectionA("Ports", entries.data(), static_cast<DWORD>(entries.size()));
    // The entries end with two zero bytes.
    portList_.assign(entries.data(), length + 1);
    LayOut();
}

BenchInstallation::~BenchInstallation() {
    WriteProfileSectionA("Ports", portList_.c_str());
    WriteProfileStringA(nullptr, nullptr, nullptr);
    kept_.clear();
    RegFlushKey(HKEY_LOCAL_MACHINE);
}

// A key whose parents are missing is kept by its outermost missing parent,
// so the parents that the registrations create go again too.
void BenchInstallation::Keep(const std::string& path) {
    kept_.push_back(std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE,
                                                                   test_support::KeyToKeep(HKEY_LOCAL_MACHINE, path)));
}

void BenchInstallation::LayOut() {
    const std::string setup = kSetupKey;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kHardwareKeys);
    for (int number = 1; number <= SystemConfig::kStationCount; ++number) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (setup + Numbered("\\Station%d", number)).c_str());
        for (int port = 1; port <= 3; ++port) RegDeleteTreeA(HKEY_LOCAL_MACHINE, PortDriverKey(number, port).c_str());
    }

    PutByte(kProductKey, "Shutdown Enabled", 1);
    PutByte(kProductKey, "Shutdown Default", 1);
    PutByte(kProductKey, "AutoLaunch Enabled", 1);
    PutByte(kProductKey, "DebugTestMessages", 0);
    PutByte(setup, "NoEwxForce", 0);

    // Four boards with two stations each, in consecutive memory windows.
    for (int number = 1; number <= SystemConfig::kBoardCount; ++number) {
        const std::string key = setup + Numbered("\\Board%d", number);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
        const uint32_t window = 0xD0000 + 0x2000 * (number - 1);
        PutByte(key, "Detected", 1);
        PutString(key, "Board Name", "KX4 Station Adapter");
        PutByte(key, "Port1 is Host", number == 1 ? 1 : 0);
        PutByte(key, "Active Ports", 2);
        PutByte(key, "Physical Ports", 2);
        PutByte(key, "Launched", 2);
        PutDword(key, "Memory Location", window);
        PutDword(key, "Physical Location", window);
        PutDword(key, "Linear Location", window);
        PutDword(key, "Memory Size", 0x2000);
    }

    // Every station running for its default user, with the port names and
    // friendly names that the control center itself would give them.
    for (int number = 1; number <= SystemConfig::kStationCount; ++number) {
        const int index = number - 1;
        const std::string key = setup + Numbered("\\Station%d", number);
        const std::string serial1 = Numbered("COM%d", 2 * index + 5), serial2 = Numbered("COM%d", 2 * index + 6);
        const std::string printer = Numbered("LPT%d", index + 4 < 10 ? index + 4 : index - 4);
        const std::string serial1Name = SerialFriendlyName("Station%d Serial%i (%s)", number, 1, serial1);
        const std::string serial2Name = SerialFriendlyName("Station%d Serial%i (%s)", number, 2, serial2);
        const std::string printerName = PrinterFriendlyName("Station%d Printer (%s)", number, printer);
        PutByte(key, "Detected", 1);
        PutByte(key, "Board Number", static_cast<BYTE>(index / 2));
        PutString(key, "Station Name", Numbered("Station%d", number));
        PutString(key, "Default User", Numbered("User%d", number));
        PutString(key, "Logged In User", Numbered("User%d", number));
        PutByte(key, "AutoLaunch", 1);
        PutByte(key, "Launched", 1);
        PutByte(key, "OnLine", 1);
        PutByte(key, "Zq Base Init", 1);
        PutByte(key, "Zq Keyboard Init", 1);
        PutByte(key, "Zq Mouse Init", 1);
        PutDword(key, "IO Handle", 0x300 + 0x20 * index);
        PutByte(key, "Serial1 Enabled", 1);
        PutByte(key, "Serial2 Enabled", 1);
        PutByte(key, "Printer Enabled", 1);
        PutString(key, "Serial1 PortName", serial1);
        PutString(key, "Serial2 PortName", serial2);
        PutString(key, "Printer PortName", printer);
        PutString(key, "Serial1 Name", serial1Name);
        PutString(key, "Serial2 Name", serial2Name);
        PutString(key, "Printer Name", printerName);

        // Registered once, as setup leaves them, so a load finds their
        // hardware keys and keeps the ports on.
        RegisterSerialPort(number, 1, serial1, serial1Name);
        RegisterSerialPort(number, 2, serial2, serial2Name);
        RegisterPrinterPort(number, 3, printer, printerName);
        for (const std::string* name : {&serial1, &serial2, &printer}) AddPortListEntry(*name);
    }
    FlushPortList();
}

}  // namespace bench
