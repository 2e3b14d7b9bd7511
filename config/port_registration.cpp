#include "port_registration.h"

#include <cstdint>

#include "registry_key.h"
#include "resource_ids.h"
#include "resources.h"

namespace {

constexpr int kPrinterPort = 3;
const char kMaker[] = "Quillon, Inc.";
const char kPortDriver[] = "Serlink.vxd";

// The operating system's serial device control block with the default line
// settings: 9600 baud, 8 data bits, no parity, one stop bit, XON 0x11 and
// XOFF 0x13, every flag clear.
const uint8_t kDefaultDcb[28] = {
    0x1C, 0x00, 0x00, 0x00,  // length of the block
    0x80, 0x25, 0x00, 0x00,  // baud rate
    0x00, 0x00, 0x00, 0x00,  // flag bits
    0x00, 0x00,              // reserved
    0x00, 0x00,              // XON limit
    0x00, 0x00,              // XOFF limit
    0x08,                    // data bits
    0x00,                    // parity
    0x00,                    // stop bits
    0x11,                    // XON character
    0x13,                    // XOFF character
    0x00, 0x00, 0x00,        // error, end-of-file and event characters
    0x00, 0x00,              // reserved
};
static_assert(sizeof kDefaultDcb == 28);

std::string PortKey(UINT templateId, int stationNumber, int port) {
    std::string pattern;
    if (!AfxLoadString(templateId, pattern)) return {};
    return AfxFormat(pattern.c_str(), stationNumber, port);
}

void WriteHardwareKey(int stationNumber, int port, const std::string& portName, const std::string& friendlyName) {
    const std::string path = PortHardwareKey(stationNumber, port);
    // Without its template the path would be empty, and the values would
    // land in the root of the hive.
    if (path.empty()) return;
    RegistryKey key;
    if (!key.Create(HKEY_LOCAL_MACHINE, path.c_str())) return;
    const uint8_t noFlags[4] = {};
    key.SetString("Class", "Ports");
    key.SetBinary("ConfigFlags", noFlags, sizeof noFlags);
    key.SetString("DeviceDesc", friendlyName);
    key.SetString("Driver", AfxFormat("Ports\\App%dPort%d", stationNumber, port));
    key.SetString("FriendlyName", friendlyName);
    key.SetString("HardwareID", port == kPrinterPort ? "Ternway Parallel Port" : "Ternway Serial Port");
    key.SetString("HWRevision", AfxLoadString(IDS_PRODUCT_VERSION));
    key.SetString("Mfg", kMaker);
    key.SetString("PortName", portName);
    key.SetByte("PortNum", static_cast<uint32_t>(port));
    key.SetByte("Station", static_cast<uint32_t>(stationNumber));
    key.Close();
}

void WriteSerialDriverKey(int stationNumber, int port, const std::string& friendlyName) {
    const std::string path = PortDriverKey(stationNumber, port);
    if (path.empty()) return;
    RegistryKey key;
    if (!key.Create(HKEY_LOCAL_MACHINE, path.c_str())) return;
    key.SetString("ConfigDialog", "Serlink.dll");
    // The port's line settings as the administrator chose them stay; only a
    // port without a whole block gets the default one.
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.Handle(), "DCB", nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_BINARY ||
        size != sizeof kDefaultDcb)
        key.SetBinary("DCB", kDefaultDcb, sizeof kDefaultDcb);
    key.SetString("DevLoader", "*vcomm");
    key.SetString("DriverDate", AfxLoadString(IDS_DRIVER_DATE));
    key.SetString("DriverDesc", friendlyName);
    key.SetString("DriverVersion", AfxLoadString(IDS_PRODUCT_VERSION));
    key.SetString("EnumPropPages", "Serlink.dll,EnumPropPages");
    key.SetString("InfPath", "MSPORTS.INF");
    key.SetString("InfSection", "ComPort");
    key.SetString("PortDriver", kPortDriver);
    key.SetByte("PortSubClass", 1);
    key.SetString("ProviderName", kMaker);
    key.Close();
}

void WritePrinterDriverKey(int stationNumber, int port, const std::string& friendlyName) {
    const std::string path = PortDriverKey(stationNumber, port);
    if (path.empty()) return;
    RegistryKey key;
    if (!key.Create(HKEY_LOCAL_MACHINE, path.c_str())) return;
    key.SetString("DevLoader", "*vcomm");
    key.SetString("DriverDate", AfxLoadString(IDS_DRIVER_DATE));
    key.SetString("DriverDesc", friendlyName);
    key.SetString("DriverVersion", AfxLoadString(IDS_PRODUCT_VERSION));
    key.SetString("InfPath", "MSPORTS.INF");
    key.SetString("InfSection", "LptPort");
    key.SetString("PortDriver", kPortDriver);
    key.SetByte("PortSubClass", 0);
    key.SetString("ProviderName", kMaker);
    key.Close();
}

}  // namespace

std::string PortHardwareKey(int stationNumber, int port) {
    return PortKey(IDS_PORT_HARDWARE_KEY, stationNumber, port);
}

std::string PortDriverKey(int stationNumber, int port) {
    return PortKey(IDS_PORT_DRIVER_KEY, stationNumber, port);
}

void RegisterSerialPort(int stationNumber, int port, const std::string& portName, const std::string& friendlyName) {
    WriteHardwareKey(stationNumber, port, portName, friendlyName);
    WriteSerialDriverKey(stationNumber, port, friendlyName);
}

void RegisterPrinterPort(int stationNumber, int port, const std::string& portName, const std::string& friendlyName) {
    WriteHardwareKey(stationNumber, port, portName, friendlyName);
    WritePrinterDriverKey(stationNumber, port, friendlyName);
}

void UnregisterPort(int stationNumber, int port) {
    // DeleteSubkey refuses an empty path, so a missing template deletes
    // nothing; a missing key fails quietly.
    DeleteSubkey(HKEY_LOCAL_MACHINE, PortHardwareKey(stationNumber, port).c_str());
    DeleteSubkey(HKEY_LOCAL_MACHINE, PortDriverKey(stationNumber, port).c_str());
}

namespace {

// Whether the name can stand as an entry's name in win.ini. The profile
// functions write a name as it is: a line break in it would start lines of
// its own (a section header among them), an '=' would end the name early,
// and a '[' or ';' in front (blanks are trimmed) would read back as a section or a comment. Such a
// name, from a damaged registry, names no device. An empty name would ask
// the profile functions for an entry without a name, and so would one of
// blanks only, which they trim away.
bool IsPortListName(const std::string& portName) {
    const size_t first = portName.find_first_not_of(' ');
    if (first == std::string::npos || portName[first] == '[' || portName[first] == ';') return false;
    for (unsigned char c : portName) {
        if (c < 0x20 || c == 0x7F || c == '=') return false;
    }
    return true;
}

}  // namespace

void AddPortListEntry(const std::string& portName) {
    if (!IsPortListName(portName)) return;
    WriteProfileStringA("Ports", portName.c_str(), "");
}

void RemovePortListEntry(const std::string& portName) {
    if (!IsPortListName(portName)) return;
    WriteProfileStringA("Ports", portName.c_str(), nullptr);
}

void FlushPortList() {
    WriteProfileStringA(nullptr, nullptr, nullptr);
}
