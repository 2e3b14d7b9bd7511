// The test host must look like the Windows 98 multi-station PC the product
// runs on; later suites read these files and keys as the product does.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "registry_values.h"

namespace {

std::string ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Reads a value of the given type: its bytes (a string without its zero),
// or nothing.
std::string Stored(const std::string& key, const char* name, DWORD wanted) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return {};
    char data[512] = {};
    DWORD type = 0, size = sizeof data;
    LONG status = RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS || type != wanted) return {};
    if (type == REG_SZ && size > 0) --size;
    return std::string(data, size);
}

std::string ProductBinary(const char* key, const char* name) {
    return Stored(key, name, REG_BINARY);
}

TEST(HostImage, BootFilesUseDosLineEnds) {
    for (const char* path : {"C:\\CONFIG.SYS", "C:\\AUTOEXEC.BAT", "C:\\MSDOS.SYS", "C:\\windows\\Wininit.ini"}) {
        std::string text = ReadFile(path);
        ASSERT_FALSE(text.empty()) << path;
        size_t lineFeeds = 0, pairs = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\n') continue;
            ++lineFeeds;
            if (i > 0 && text[i - 1] == '\r') ++pairs;
        }
        EXPECT_EQ(lineFeeds, pairs) << path;
    }
    EXPECT_NE(ReadFile("C:\\CONFIG.SYS").find("device=c:\\windows\\orvanta.sys\r\n"), std::string::npos);
}

TEST(HostImage, MsdosSysIsProtectedAndBootsTheDesktop) {
    DWORD attributes = GetFileAttributesA("c:\\msdos.sys");
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    const DWORD kProtected = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(attributes & kProtected, kProtected);
    EXPECT_EQ(GetPrivateProfileIntA("Options", "BootGUI", 99, "c:\\msdos.sys"), 1u);
}

TEST(HostImage, ProfileFilesCarryTheHostSections) {
    char language[10] = {};
    GetProfileStringA("intl", "sLanguage", "", language, sizeof language);
    EXPECT_STREQ(language, "enu");

    char section[4096] = {};
    DWORD length = GetPrivateProfileSectionA("386Enh", section, sizeof section, "System.ini");
    bool found = false;
    for (const char* entry = section; entry < section + length && *entry; entry += strlen(entry) + 1) {
        found = found || std::string(entry) == "device=corehub.vxd";
    }
    EXPECT_TRUE(found);
}

TEST(HostImage, ProductBranchStoresNumbersAsBinaryValues) {
    EXPECT_EQ(ProductBinary("Software\\Quillon\\Orvanta", "Product Type"), std::string("\x03", 1));
    EXPECT_EQ(ProductBinary("Software\\Quillon\\Orvanta\\Setup\\Board1", "Detected"), std::string("\x01", 1));
    EXPECT_EQ(ProductBinary("Software\\Quillon\\Orvanta\\Setup\\Board1", "Memory Location"),
              std::string("\x00\x00\x0d\x00", 4));
    EXPECT_EQ(ProductBinary("Software\\Quillon\\Orvanta\\Setup\\Station2", "IO Handle").size(), 4u);
}

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

using test_support::KeyExists;

TEST(HostImage, EarlierInstallationsLeftFilesAndDeviceRegistrations) {
    EXPECT_TRUE(Exists("C:\\Program Files\\Orvanta\\Orvanta.exe"));
    EXPECT_TRUE(Exists("C:\\Program Files\\Orvanta\\Station2Tasks\\Monday\\report.txt"));
    EXPECT_TRUE(GetFileAttributesA("C:\\Program Files\\Orvanta\\Station2Tasks\\Monday\\report.txt") &
                FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Exists("C:\\windows\\inf\\other\\TC Labs3DM.INF"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Enum\\ISAPNP\\KQZ0000"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\DevurOvezovuVovezuv"));
    // Listed as present, as after a start of the host.
    bool adapter = false;
    HKEY present = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_DYN_DATA, "Config Manager\\Enum", 0, KEY_READ, &present), ERROR_SUCCESS);
    char node[64];
    for (DWORD index = 0; RegEnumKeyA(present, index, node, sizeof node) == ERROR_SUCCESS; ++index) {
        char hardware[512] = {};
        HKEY device = nullptr;
        if (RegOpenKeyExA(present, node, 0, KEY_READ, &device) != ERROR_SUCCESS) continue;
        DWORD length = sizeof hardware;
        RegQueryValueExA(device, "HardWareKey", nullptr, nullptr, reinterpret_cast<BYTE*>(hardware), &length);
        RegCloseKey(device);
        adapter = adapter || std::string(hardware).rfind("PCI\\VEN_1023&DEV_9880", 0) == 0;
    }
    RegCloseKey(present);
    EXPECT_TRUE(adapter);
}

// A value of any type as stored: its bytes, or nothing.
std::string Stored(HKEY root, const std::string& key, const char* name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return {};
    char data[512] = {};
    DWORD size = sizeof data;
    LONG status = RegQueryValueExA(handle, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS ? std::string(data, size) : std::string();
}

TEST(HostImage, PowerManagementHasSixSchemesForTheMachineAndEachUser) {
    const std::string machine = "Software\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\PowerCfg";
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, machine, "LastID"), std::string("5", 2));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, machine + "\\PowerPolicies", "LastID"), std::string("5", 2));
    for (int scheme = 0; scheme <= 5; ++scheme) {
        const std::string key = machine + "\\PowerPolicies\\" + std::to_string(scheme);
        EXPECT_GT(Stored(HKEY_LOCAL_MACHINE, key, "Name").size(), 1u) << scheme;
        EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, key, "Policies").size(), 64u) << scheme;
    }
    const struct {
        HKEY root;
        const char* key;
    } users[] = {{HKEY_CURRENT_USER, "Control Panel\\PowerCfg"}, {HKEY_USERS, ".Default\\Control Panel\\PowerCfg"}};
    for (const auto& user : users) {
        EXPECT_EQ(Stored(user.root, user.key, "CurrentPowerPolicy"), std::string("0", 2)) << user.key;
        for (int scheme = 0; scheme <= 5; ++scheme) {
            const std::string key = std::string(user.key) + "\\PowerPolicies\\" + std::to_string(scheme);
            EXPECT_GT(Stored(user.root, key, "Description").size(), 1u) << key;
            EXPECT_EQ(Stored(user.root, key, "Policies").size(), 80u) << key;
        }
    }
    // The current scheme lets the machine sleep when idle on mains: what the
    // product's server scheme switches off.
    const std::string current = Stored(HKEY_CURRENT_USER, "Control Panel\\PowerCfg\\PowerPolicies\\0", "Policies");
    ASSERT_EQ(current.size(), 80u);
    EXPECT_NE(current.substr(4, 4), std::string(4, '\0'));
    EXPECT_NE(current.substr(28, 4), std::string(4, '\0'));
}

TEST(HostImage, StationPrintersStillSitOnThePortsNamedAfterTheStations) {
    const std::string printers = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
    const std::string ports = "System\\CurrentControlSet\\Control\\Print\\Ports\\";
    for (const char* station : {"Station1", "Station2"}) {
        const std::string key = std::string("Software\\Quillon\\Orvanta\\Setup\\") + station;
        EXPECT_EQ(ProductBinary(key.c_str(), "Printer Enabled"), "\x01") << station;
        const std::string name = Stored(key, "Station Name", REG_SZ);
        const std::string printer = Stored(key, "Printer Name", REG_SZ);
        ASSERT_FALSE(printer.empty()) << station;
        EXPECT_EQ(Stored(key, "Printer PortName", REG_SZ), "") << station;
        EXPECT_EQ(Stored(printers + printer, "Port", REG_SZ), name) << station;
        char entry[256] = {};
        GetProfileStringA("Devices", printer.c_str(), "", entry, sizeof entry);
        EXPECT_EQ(std::string(entry).substr(std::string(entry).find(',') + 1), name) << station;
        EXPECT_FALSE(ProductBinary((ports + name).c_str(), "Station").empty()) << station;
    }
    EXPECT_EQ(Stored("System\\CurrentControlSet\\Control\\Print\\Monitors\\OrvantaPrinters", "Driver", REG_SZ),
              "orvmon.dll");
    EXPECT_NE(GetFileAttributesA("C:\\Program Files\\Orvanta\\localmon.dll"), INVALID_FILE_ATTRIBUTES);
    char rename[256] = {};
    GetPrivateProfileSectionA("rename", rename, sizeof rename, "Wininit.ini");
    EXPECT_STREQ(rename, "NUL=C:\\WINDOWS\\TEMP\\~GLH0001.TMP");
}

TEST(HostImage, TheUsersHaveProfilesAndPasswordLists) {
    for (const std::string user : {"mwclerk", "mwreader", "guest"}) {
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE,
                              ("Software\\Microsoft\\Windows\\CurrentVersion\\ProfileList\\" + user).c_str()))
            << user;
        EXPECT_TRUE(Exists(("C:\\windows\\Profiles\\" + user + "\\USER.DAT").c_str())) << user;
        char list[MAX_PATH] = {};
        GetPrivateProfileStringA("Password Lists", user.c_str(), "", list, sizeof list, "system.ini");
        EXPECT_TRUE(list[0] && Exists(list)) << user << ": " << list;
    }
}

}  // namespace
