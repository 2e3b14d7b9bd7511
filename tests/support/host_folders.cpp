#include "host_folders.h"

#include <windows.h>

#include "registry_values.h"

namespace test_support {

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    return length > 0 && length < sizeof folder ? folder : "C:\\windows";
}

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    return length > 0 && length < sizeof folder ? folder : WindowsFile("system32");
}

std::string WindowsFile(const std::string& name) {
    return WindowsFolder() + "\\" + name;
}

std::string StartMenuProgramsFolder() {
    const StoredValue programs = ReadValue(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs");
    if (!programs.present) return "";
    // Without its terminator.
    return std::string(programs.bytes.c_str());
}

}  // namespace test_support
