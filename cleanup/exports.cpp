// The hooks run their steps in a fixed order. Each step stands on its own:
// one that fails leaves out only what depends on it, and the hook goes on.
#include "exports.h"

#include <string>

#include "boot_file_edits.h"
#include "device_registrations.h"
#include "display_probe.h"
#include "flush_settings.h"
#include "folder_removal.h"
#include "power_scheme.h"
#include "product.h"
#include "product_files.h"
#include "profile_edits.h"
#include "registry.h"
#include "registry_paths.h"
#include "registry_snapshot.h"
#include "station_check.h"
#include "station_ports.h"
#include "user_profiles.h"

namespace {

// The system's display name for the uninstall message.
std::string SystemName() {
    std::string name;
    if (!RegKey(HKEY_LOCAL_MACHINE, kSetupKey).ReadString("SystemNameString", name, 80)) name = "Orvanta";
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
    RecordProduct(productType);
    // Read first: the product's values go before the group is removed.
    const std::string startMenuGroup = RecordedStartMenuGroup();
    FlushSettings();
    EnableUserProfiles();
    EnableGraphicalBoot();
    const bool saved = SaveRegistrySnapshot(snapshotDir ? snapshotDir : "");
    RewriteConfigSys(BootMode::kInstall);
    MoveStationPrinters();
    RemoveOldInstallation(oldInstallDir ? oldInstallDir : "");
    RemoveOldPortMonitorFile();
    RemoveWindowsFolderFiles();
    RemoveSystemFolderFiles();
    DeleteProductValues(saved);
    if (saved) RecordConfigurationMoved();
    DeletePrintMonitor();
    DeleteMakerAndVersionKeys();
    RemoveStartMenuGroup(startMenuGroup);
    RemoveProductDrivers();
    RestoreStandardDrivers(true);
    FlushSettings();
    return true;
}

bool WINAPI IS51_CleanupBeforeSetupComplete(const char* snapshotDir, const char* installDir, int productType) {
    RecordProduct(productType);
    FlushSettings();
    ImportRegistrySnapshot(snapshotDir ? snapshotDir : "");
    ResetSharedFileCounts(installDir ? installDir : "");
    CheckDisplayAdapter();
    InstallServerPowerScheme();
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
    RemoveEnumerationKeys();
    RemovePciEntries();
    RemoveMediaEntries();
    RemoveDeviceClass();
    RemoveCopiedInfFiles();
    OfferStartupFolderRemoval();
    OfferTaskFolderRemoval();
    RemoveProductDrivers();
    RestoreStandardDrivers(false);
    DeletePerStationKeys();
    return 0;
}

LONG WINAPI UninstUnInitialize(HWND, HINSTANCE, LONG) {
    return 0;
}
}
