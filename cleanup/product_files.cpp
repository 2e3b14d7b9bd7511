#include "product_files.h"

#include <windows.h>

#include "file_lists.h"
#include "file_removal.h"
#include "product.h"
#include "registry.h"
#include "registry_paths.h"
#include "safe_paths.h"

namespace {

const char* const kProductValues[] = {
    "Orvanta Interface", "AutoLaunch Enabled", "Install Directory", "Install Language", "Install Menu",
    "Launch Delay",      "RefreshRate",        "Shutdown Default",  "Shutdown Enabled", "Station Display",
    "Station Mode",      "Product Name",       "Product Type"};

const char* const kReleases[] = {"1.00", "1.01",    "1.02", "1.03", "1.10", "1.11", "1.20", "1.30", "1.31",
                                 "2.00", "2.00.01", "2.01", "2.05", "2.06", "2.07", "2.10", "2.11", "2.12",
                                 "3.00", "3.01",    "3.02", "3.03", "3.04", "3.05", "3.06"};

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    return length == 0 || length >= sizeof folder ? "" : folder;
}

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    return length == 0 || length >= sizeof folder ? "" : folder;
}

void SetCountToOne(const RegKey& counts, const std::string& path) {
    DWORD count = 0;
    if (counts.ReadNumber(path.c_str(), count)) counts.WriteNumber(path.c_str(), 1);
}

}  // namespace

void RemoveOldInstallation(const std::string& oldFolder) {
    if (!IsFullFolderPath(oldFolder)) return;
    DeleteListedFiles(oldFolder, InstallationFiles());
    RemoveDirIfPresent(oldFolder);
}

void RemoveWindowsFolderFiles() {
    const std::string folder = WindowsFolder();
    if (!folder.empty()) DeleteListedFiles(folder, WindowsFolderFiles());
}

void RemoveSystemFolderFiles() {
    const std::string folder = SystemFolder();
    if (!folder.empty()) DeleteListedFiles(folder, SystemFolderFiles());
}

void DeleteProductValues(bool snapshotSaved) {
    if (RegKey product(HKEY_LOCAL_MACHINE, kProductKey); product.IsOpen()) {
        for (const char* value : kProductValues) {
            // The snapshot is what brings the administrator's settings back
            // after the copy; without one only what the installation writes
            // again may go.
            bool installation = false;
            for (const char* rewritten : kInstallationValues)
                installation = installation || lstrcmpiA(value, rewritten) == 0;
            if (snapshotSaved || installation) RegDeleteValueA(product.Get(), value);
        }
    }
    // The board and station configuration, the same.
    if (snapshotSaved) DeleteKeyTree(HKEY_LOCAL_MACHINE, kSetupKey);
}

void DeleteMakerAndVersionKeys() {
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quillon");
    for (const char* release : kReleases) {
        for (const char* brand : {"Software\\Quillon\\Orvanta", "Software\\Quillon\\Zelto"})
            DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string(brand) + "\\" + release);
    }
}

std::string ProgramsFolder() {
    std::string folder = ReadRegistryString(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs", 260);
    if (folder.empty()) folder = WindowsFolder() + "\\Start Menu\\Programs";
    return folder;
}

std::string RecordedStartMenuGroup() {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, kProductKey, "Install Menu", 260);
}

void RemoveStartMenuGroup(std::string group) {
    if (group.empty()) group = IsZeltoBrand() ? "Zelto" : "Orvanta";
    const std::string programs = ProgramsFolder();
    // A group may lie in a group of its own ("Quillon\Orvanta"), but a path
    // that leads out of the programs folder would take the deletion along.
    if (!IsInnerPath(group) || !IsFullFolderPath(programs)) return;
    const std::string folder = JoinPath(programs, group);
    DeleteListedFiles(folder, StartMenuShortcuts());
    RemoveDirIfPresent(folder);
}

void ResetSharedFileCounts(const std::string& installFolder) {
    RegKey counts(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls");
    if (!counts.IsOpen()) return;
    if (const std::string windows = WindowsFolder(); !windows.empty()) {
        for (const std::string& name : WindowsFolderFiles()) SetCountToOne(counts, JoinPath(windows, name));
    }
    if (const std::string system = SystemFolder(); !system.empty()) {
        for (const std::string& name : SystemFolderFiles()) {
            if (name != LoaderDriver()) SetCountToOne(counts, JoinPath(system, name));
        }
    }
    if (!installFolder.empty()) SetCountToOne(counts, JoinPath(installFolder, "Cleanup.dll"));
}
