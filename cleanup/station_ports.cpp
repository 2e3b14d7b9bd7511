#include "station_ports.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "product.h"
#include "profile_section.h"
#include "registry.h"
#include "registry_paths.h"
#include "safe_paths.h"

namespace {

const int kStations = 8;
const int kPortsPerStation = 3;
const int kPrinterPort = 3;
// What the products keep in their text values, and what Win.ini entries
// and the installation folder may be; a longer value counts as missing.
const DWORD kTextLimit = 512;
const DWORD kFolderLimit = 260;
const DWORD kEntryBuffer = 512;
const DWORD kWininitBuffer = 32767;

const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers";
const char kMonitorPortsKey[] = "System\\CurrentControlSet\\Control\\Print\\Ports\\";
const char kOldMonitorKey[] = "System\\CurrentControlSet\\Control\\Print\\Monitors\\OrvantaPrinters";
const char kHardwareKey[] = "Enum\\Root\\Ternway";
const char kDriverKey[] = "System\\CurrentControlSet\\Services\\Class\\Ports";
const char kMaker[] = "Quillon, Inc.";

std::string StationKey(int station) {
    return std::string(kSetupKey) + "\\Station" + std::to_string(station);
}

// Stations 1 to 6 print through LPT4: to LPT9:, stations 7 and 8 through
// the LPT2: and LPT3: that the host leaves free.
std::string StationLptPort(int station) {
    return "LPT" + std::to_string(station <= 6 ? station + 3 : station - 5) + ":";
}

// The installed printers in the order the registry lists them, with the
// port each names there; a printer without a readable port has none.
struct RegisteredPrinter {
    std::string name;
    std::string port;
    bool hasPort = false;
};

std::vector<RegisteredPrinter> RegisteredPrinters() {
    std::vector<RegisteredPrinter> printers;
    RegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kPrintersKey)) return printers;
    ForEachSubkey(
        key.Get(),
        [&](const std::string& name) {
            RegisteredPrinter printer;
            printer.name = name;
            RegKey printerKey;
            printer.hasPort =
                printerKey.Open(key.Get(), printer.name) && printerKey.ReadString("Port", printer.port, kTextLimit);
            printers.push_back(printer);
            return false;
        },
        MAX_PATH);
    return printers;
}

// Whether the station name can stand as the last part of a key path: an
// empty name would make the path its parent, and a backslash would lead
// out of it. Any byte 0x5C counts, even the second byte of a double-byte
// character: leaving a stale key is harmless, deleting another is not.
bool IsSingleKeyName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

// WININIT.EXE runs before Windows and reads 8.3 names only: the file's
// short path, or the path itself when the system gives none.
std::string ShortPath(const std::string& path) {
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return length == 0 || length >= sizeof shortPath ? path : std::string(shortPath, length);
}

// A Win.ini printer entry reads "driver,port[,more]": where its port field
// begins, and where the text after it begins (npos when nothing follows).
bool FindPortField(const std::string& entry, size_t& first, size_t& second) {
    first = entry.find(',');
    if (first == std::string::npos) return false;
    second = entry.find(',', first + 1);
    return true;
}

bool EntryNamesPort(const std::string& entry, const std::string& port) {
    size_t first = 0, second = 0;
    if (!FindPortField(entry, first, second)) return false;
    const std::string field =
        entry.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    return lstrcmpiA(field.c_str(), port.c_str()) == 0;
}

// The first printer in the section whose port is the station's gets the LPT
// port instead.
void MoveProfileEntry(const char* section, const std::vector<RegisteredPrinter>& printers,
                      const std::string& stationName, const std::string& lptPort) {
    // The section read once tells which printers may be the one; the entry
    // of each is then read and written as the profile functions have it.
    const ProfileSection entries(section);
    for (const RegisteredPrinter& printer : printers) {
        const std::string* listed = entries.Find(printer.name);
        if (listed ? !EntryNamesPort(*listed, stationName) : entries.IsWhole()) continue;

        char entry[kEntryBuffer] = {};
        const DWORD length = GetProfileStringA(section, printer.name.c_str(), "", entry, sizeof entry);
        // A full buffer may hold only the start of the entry; written back
        // it would lose the rest.
        if (length == 0 || length >= sizeof entry - 1) continue;
        const std::string text(entry, length);
        if (!EntryNamesPort(text, stationName)) continue;

        size_t first = 0, second = 0;
        FindPortField(text, first, second);
        std::string moved = text.substr(0, first + 1) + lptPort;
        if (second != std::string::npos) moved += text.substr(second);
        WriteProfileStringA(section, printer.name.c_str(), moved.c_str());
        return;
    }
}

void MoveRegisteredPrinters(std::vector<RegisteredPrinter>& printers, const std::string& stationName,
                            const std::string& lptPort) {
    for (RegisteredPrinter& printer : printers) {
        if (!printer.hasPort || lstrcmpiA(printer.port.c_str(), stationName.c_str()) != 0) continue;
        RegKey key;
        if (!key.Open(HKEY_LOCAL_MACHINE, std::string(kPrintersKey) + "\\" + printer.name)) continue;
        key.WriteString("Port", lptPort);
        printer.port = lptPort;
    }
}

void DeleteMonitorPort(const std::string& stationName) {
    if (!IsSingleKeyName(stationName)) return;
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kMonitorPortsKey + stationName);
}

// The station's printer port as Windows 9x enumerates it: the hardware
// key and the driver key of the port class.
void RegisterPrinterPort(int station, const std::string& lptPort, const std::string& printerName) {
    const std::string device = "App" + std::to_string(station) + "Port" + std::to_string(kPrinterPort);
    RegKey hardware;
    if (hardware.Create(HKEY_LOCAL_MACHINE, std::string(kHardwareKey) + "\\" + device)) {
        const BYTE noFlags[4] = {};
        hardware.WriteString("Class", "Ports");
        hardware.WriteBytes("ConfigFlags", noFlags, sizeof noFlags);
        hardware.WriteString("DeviceDesc", printerName);
        hardware.WriteString("Driver", "Ports\\" + device);
        hardware.WriteString("FriendlyName", printerName);
        hardware.WriteString("HardwareID", "Ternway Parallel Port");
        hardware.WriteString("HWRevision", "4.00");
        hardware.WriteString("Mfg", kMaker);
        hardware.WriteString("PortName", lptPort);
        hardware.WriteByte("PortNum", kPrinterPort);
        hardware.WriteByte("Station", static_cast<BYTE>(station));
    }
    RegKey driver;
    if (driver.Create(HKEY_LOCAL_MACHINE, std::string(kDriverKey) + "\\" + device)) {
        driver.WriteString("DevLoader", "*vcomm");
        driver.WriteString("DriverDate", "");
        driver.WriteString("DriverDesc", printerName);
        driver.WriteString("DriverVersion", "4.00");
        driver.WriteString("InfPath", "MSPORTS.INF");
        driver.WriteString("InfSection", "LptPort");
        driver.WriteString("PortDriver", "Serlink.vxd");
        driver.WriteByte("PortSubClass", 0);
        driver.WriteString("ProviderName", kMaker);
    }
}

void MoveStationPrinter(int station, const std::string& stationName, const std::string& printerName,
                        std::vector<RegisteredPrinter>& printers) {
    const std::string lptPort = StationLptPort(station);
    MoveProfileEntry("Devices", printers, stationName, lptPort);
    MoveProfileEntry("PrinterPorts", printers, stationName, lptPort);
    MoveRegisteredPrinters(printers, stationName, lptPort);
    DeleteMonitorPort(stationName);
    RegisterPrinterPort(station, lptPort, printerName);
    WriteProfileStringA("Ports", lptPort.c_str(), "");
}

}  // namespace

void MoveStationPrinters() {
    if (!NeedsPortCleanup()) return;
    // Read when the first station's printer moves; nothing the move writes
    // adds or removes a printer.
    std::optional<std::vector<RegisteredPrinter>> printers;
    for (int station = 1; station <= kStations; ++station) {
        RegKey key;
        if (!key.Open(HKEY_LOCAL_MACHINE, StationKey(station))) continue;
        // Versions that print through the LPT ports name the station's
        // port; one such station means the move was made before.
        if (key.Has("Printer PortName")) return;

        BYTE enabled = 0;
        if (!key.ReadByte("Printer Enabled", enabled) || enabled == 0) continue;
        std::string stationName, printerName;
        if (!key.ReadString("Station Name", stationName, kTextLimit) ||
            !key.ReadString("Printer Name", printerName, kTextLimit))
            continue;
        if (!printers) printers = RegisteredPrinters();
        MoveStationPrinter(station, stationName, printerName, *printers);
    }
}

void RemoveOldPortMonitorFile() {
    if (!NeedsPortCleanup()) return;
    std::string folder;
    {
        RegKey product;
        if (!product.Open(HKEY_LOCAL_MACHINE, kProductKey) ||
            !product.ReadString("Install Directory", folder, kFolderLimit))
            return;
    }
    // A folder taken relative to wherever Windows starts, or one that leads
    // out of itself, would have Windows delete another file at its start.
    if (!IsFullFolderPath(folder)) return;
    const DWORD attributes = GetFileAttributesA((folder + "\\localmon.dll").c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;

    // Windows replaces and deletes the files of [rename] before it loads
    // the print monitors: "NUL=file" deletes the file.
    std::vector<char> section(kWininitBuffer, '\0');
    const DWORD length = GetPrivateProfileSectionA("rename", section.data(), kWininitBuffer, "Wininit.ini");
    // A section that does not fit would be written back cut short.
    if (length == kWininitBuffer - 2) return;
    const std::string entry = "NUL=" + ShortPath(folder + "\\Localmon.dll");
    if (entry.size() + 1 + length >= kWininitBuffer) return;

    std::string entries = entry;
    entries += '\0';
    entries.append(section.data(), length);
    entries += '\0';
    WritePrivateProfileSectionA("rename", entries.c_str(), "Wininit.ini");
}

void DeletePrintMonitor() {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kOldMonitorKey);
}

void DeleteStationPortDevices() {
    if (!NeedsPortCleanup()) return;
    RegKey hardware, drivers;
    hardware.Open(HKEY_LOCAL_MACHINE, kHardwareKey);
    drivers.Open(HKEY_LOCAL_MACHINE, kDriverKey);
    if (!hardware.IsOpen() && !drivers.IsOpen()) return;
    for (int station = 1; station <= kStations; ++station) {
        for (int port = 1; port <= kPortsPerStation; ++port) {
            const std::string device = "App" + std::to_string(station) + "Port" + std::to_string(port);
            for (const RegKey* key : {&hardware, &drivers}) {
                if (key->IsOpen()) DeleteKeyTree(key->Get(), device);
            }
        }
    }
}
