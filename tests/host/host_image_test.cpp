// The test host must look like the Windows 98 multi-station PC the product
// runs on; later suites read these files and keys as the product does.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

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

}  // namespace
