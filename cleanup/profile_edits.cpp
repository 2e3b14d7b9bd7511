#include "profile_edits.h"

#include <windows.h>

#include <string>
#include <vector>

#include "flush_settings.h"

namespace {

const char kMsdosSys[] = "c:\\msdos.sys";
const char kSystemIni[] = "System.ini";
const char kWinIni[] = "Win.ini";
// As much of a section as Windows 95 and 98 hand back, as for Win.ini's.
const DWORD kSectionBuffer = 32767;

// The product's drivers, compared with whole entries ignoring case.
const char* const kProductDrivers[] = {"device=corehub.vxd", "device=sndhub.vxd"};

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
    std::vector<char> section(kSectionBuffer);
    const DWORD length = GetPrivateProfileSectionA("386Enh", section.data(), kSectionBuffer, kSystemIni);
    // A section that does not fit would be written back cut short.
    if (length == kSectionBuffer - 2) return;

    std::string kept;
    for (const char* entry = section.data(); *entry != '\0'; entry += strlen(entry) + 1) {
        bool product = false;
        for (const char* driver : kProductDrivers) product = product || lstrcmpiA(entry, driver) == 0;
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
