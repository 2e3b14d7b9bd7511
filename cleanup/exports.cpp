// The hooks run their steps in a fixed order. Each step stands on its own:
// one that fails leaves out only what depends on it, and the hook goes on.
#include "exports.h"

#include <string>

#include "boot_file_edits.h"
#include "display_probe.h"
#include "flush_settings.h"
#include "product.h"
#include "profile_edits.h"
#include "registry_paths.h"
#include "station_check.h"
#include "station_ports.h"

namespace {

// The system's display name for the uninstall message.
std::string SystemName() {
    std::string name = "Orvanta";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSetupKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return name;
    char value[80] = {};
    DWORD size = sizeof value - 1;
    if (RegQueryValueExA(key, "SystemNameString", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
        ERROR_SUCCESS)
        name = value;
    RegCloseKey(key);
    return name;
}

void RefuseUninstallAtStation(HWND owner) {
    const std::string name = SystemName();
    const std::string caption = "Uninstall " + name;
    const std::string text = "Uninstall has determined you are trying to uninstall " + name + " from the " + name +
                             " station. This will not work properly.\n\nPlease uninstall " + name +
                             " from the Host PC console.\n\nPress OK to exit uninstall.";
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

extern "C" {

bool WINAPI IS51_CleanupBeforeWelcomeMessage(HWND owner, const char* caption, const char* message, int productType) {
    RecordProduct(productType);
    if (IsAtStation()) {
        MessageBoxA(owner, message ? message : "", caption ? caption : "", MB_OK | MB_ICONERROR);
        return false;
    }
    ProbeDisplayDriver();
    return true;
}

bool WINAPI IS51_CleanupBeforeDataMove(HWND, const char* snapshotDir, const char* oldInstallDir, const char*,
                                       const char*, int productType) {
    (void)snapshotDir;
    (void)oldInstallDir;
    RecordProduct(productType);
    FlushSettings();
    // User profiles and their reconciliation entries.
    EnableGraphicalBoot();
    // The registry snapshot, written into the snapshot folder.
    RewriteConfigSys(BootMode::kInstall);
    MoveStationPrinters();
    // The old installation's files, and its folder when empty.
    RemoveOldPortMonitorFile();
    // The product's file in the Windows folder.
    // The product's drivers in the system folder.
    // The product's values and the setup key.
    DeletePrintMonitor();
    // The maker's key of the current user and the version keys.
    // The start-menu shortcuts and folder.
    RemoveProductDrivers();
    RestoreStandardDrivers(true);
    FlushSettings();
    return true;
}

bool WINAPI IS51_CleanupBeforeSetupComplete(const char* snapshotDir, const char* installDir, int productType) {
    (void)snapshotDir;
    (void)installDir;
    RecordProduct(productType);
    FlushSettings();
    // The registry snapshot imported and deleted.
    // Shared-file counts of the product's files.
    // The display adapter that needs the host reinitialised.
    // The power scheme that keeps the host running.
    FlushSettings();
    return true;
}

LONG WINAPI UninstInitialize(HWND owner, HINSTANCE, LONG) {
    ReadProductType();
    if (IsAtStation()) {
        RefuseUninstallAtStation(owner);
        return -1;
    }
    CleanAutoexecBat();
    RewriteConfigSys(BootMode::kUninstall);
    DeleteStationPortDevices();
    // The device enumeration and class keys, display and media entries.
    // The copied INF files.
    // The start-up folder, when the administrator agrees.
    // The station task folders, when the administrator agrees, and their logs.
    RemoveProductDrivers();
    RestoreStandardDrivers(false);
    DeletePerStationKeys();
    return 0;
}

LONG WINAPI UninstUnInitialize(HWND, HINSTANCE, LONG) {
    return 0;
}
}
