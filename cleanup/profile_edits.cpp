#include "profile_edits.h"

#include <windows.h>

#include <string>
#include <vector>

#include "device_handle.h"
#include "flush_settings.h"

namespace {

const char kMsdosSys[] = "c:\\msdos.sys";
const char kSystemIni[] = "System.ini";
const char kWinIni[] = "Win.ini";
// As much of a section as Windows 95 and 98 hand back, as for Win.ini's.
const DWORD kSectionBuffer = 32767;

// The product's drivers, compared with whole entries ignoring case.
const char* const kProductDrivers[] = {"device=corehub.vxd", "device=sndhub.vxd"};

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Every entry of every section of that name in System.ini, in the file's
// order, as the profile functions hand them back ("key=value"), when the
// file holds the section more than once; nothing otherwise. The profile
// functions read only the first of them, and writing the section back
// empties each of that name: the entries of a later one would be lost.
std::vector<std::string> EntriesOfDoubledSection(const char* name) {
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return {};
    // What the profile functions hold goes to the file first.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, kSystemIni);
    std::string text;
    {
        DeviceHandle file(CreateFileA((std::string(windows) + "\\" + kSystemIni).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file.IsOpen() || !ReadToEnd(file.Get(), text)) return {};
    }
    std::vector<std::string> entries;
    int sections = 0;
    bool inside = false;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            const size_t close = line.find(']');
            inside = close != std::string::npos && lstrcmpiA(Trimmed(line.substr(1, close - 1)).c_str(), name) == 0;
            if (inside) ++sections;
            continue;
        }
        if (!inside || line.empty() || line[0] == ';') continue;
        const size_t equals = line.find('=');
        entries.push_back(equals == std::string::npos
                              ? line
                              : Trimmed(line.substr(0, equals)) + "=" + Trimmed(line.substr(equals + 1)));
    }
    if (sections < 2) entries.clear();
    return entries;
}

}  // namespace

void EnableGraphicalBoot() {
    const UINT bootGui = GetPrivateProfileIntA("Options", "BootGUI", 99, kMsdosSys);
    const UINT loadTop = GetPrivateProfileIntA("Options", "LoadTop", 99, kMsdosSys);
    FlushSettings();
    if (bootGui != 0 && loadTop != 0) return;

    const DWORD attributes = GetFileAttributesA(kMsdosSys);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_NORMAL);
    WritePrivateProfileStringA("Options", "BootGUI", "1", kMsdosSys);
    if (loadTop == 0) WritePrivateProfileStringA("Options", "LoadTop", nullptr, kMsdosSys);
    FlushSettings();
    // The file itself is written before it is made read-only again.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, kMsdosSys);
    SetFileAttributesA(kMsdosSys, attributes);
}

void RemoveProductDrivers() {
    std::vector<std::string> entries = EntriesOfDoubledSection("386Enh");
    if (entries.empty()) {
        std::vector<char> section(kSectionBuffer);
        const DWORD length = GetPrivateProfileSectionA("386Enh", section.data(), kSectionBuffer, kSystemIni);
        // A section that does not fit would be written back cut short.
        if (length == kSectionBuffer - 2) return;
        for (const char* entry = section.data(); *entry != '\0'; entry += strlen(entry) + 1) entries.push_back(entry);
    }

    std::string kept;
    for (const std::string& entry : entries) {
        bool product = false;
        for (const char* driver : kProductDrivers) product = product || lstrcmpiA(entry.c_str(), driver) == 0;
        if (product) continue;
        kept += entry;
        kept += '\0';
    }
    kept += '\0';
    WritePrivateProfileSectionA("386Enh", kept.c_str(), kSystemIni);
}

void RestoreStandardDrivers(bool display) {
    WritePrivateProfileStringA("386Enh", "keyboard", "*vkd", kSystemIni);
    if (display) WritePrivateProfileStringA("386Enh", "display", "*vdd,*vflatd", kSystemIni);
}

void DeletePerStationKeys() {
    static const char* const kBootKeys[] = {"Display.drv", "Fonts.fon", "Fixedfon.fon", "Oemfonts.fon"};
    char key[64];
    for (int station = 1; station <= 8; ++station) {
        wsprintfA(key, "Station%d%s", station, "Aspect");
        WritePrivateProfileStringA("boot.description", key, nullptr, kSystemIni);
        for (const char* name : kBootKeys) {
            wsprintfA(key, "Station%d%s", station, name);
            WritePrivateProfileStringA("boot", key, nullptr, kSystemIni);
        }
        wsprintfA(key, "Station%dDevice", station);
        WritePrivateProfileStringA("windows", key, nullptr, kWinIni);
    }
}
