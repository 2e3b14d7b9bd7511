#include "device_registrations.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "file_removal.h"
#include "registry.h"
#include "registry_paths.h"
#include "safe_paths.h"

namespace {

const char kClassRoot[] = "System\\CurrentControlSet\\Services\\Class\\";
const char kProductClass[] = "DevurOvezovuVovezuv";
const char kProductDriver[] = "OrvantaWorkstation";
// A listing that deletes ends after this many deletions.
const int kDeletionLimit = 11;

const char* const kPciDevices[] = {"VEN_1023&DEV_9750", "VEN_5333&DEV_8A20", "VEN_1490&DEV_1000", "VEN_1285&DEV_0100"};
const char* const kDevicePathInfs[] = {"s3svg.inf", "mstrowt.inf", "3dm.inf"};
const char* const kOtherDevicePathInfs[] = {"Dravek CorporationOEMSETUP.INF",
                                            "Dravik CorporationOEMSETUP.INF",
                                            "BrevantOEMSETUP.INF",
                                            "BrevantTRID98.INF",
                                            "Dravik CorporationTRID98.INF",
                                            "ESS Technology, Inc.MAESTRO.INF",
                                            "TC Labs3DM.INF",
                                            "Stone Microsystems3DM.INF"};

bool IsProductDriverKey(const std::string& path) {
    std::string value;
    return RegKey(HKEY_LOCAL_MACHINE, path).ReadString("", value) && lstrcmpiA(value.c_str(), kProductDriver) == 0;
}

// A driver key is named "Class\Instance" below the class root; any other
// form could name the class root or a whole class.
bool IsDriverKeyName(const std::string& driver) {
    size_t slash = driver.find('\\');
    return slash != std::string::npos && slash > 0 && slash + 1 < driver.size() &&
           driver.find('\\', slash + 1) == std::string::npos;
}

// Goes through the key's subkeys in index order; a subkey for which remove
// answers true counts as deleted, and since deleting renumbers the rest,
// the listing starts again at index 0. It ends with the listing or after
// the deletion limit.
template <typename Remove>
void DeleteWhileListing(HKEY key, Remove remove) {
    int deletions = 0;
    std::string name;
    for (DWORD index = 0; deletions < kDeletionLimit && SubkeyAt(key, index, name, 512);) {
        if (!name.empty() && remove(name)) {
            ++deletions;
            index = 0;
        } else {
            ++index;
        }
    }
}

// Deletes the device's product instances with their driver keys; true when
// the device has no instance left.
bool CleanInstances(HKEY pci, const std::string& deviceName) {
    RegKey device(pci, deviceName);
    if (!device.IsOpen()) return false;
    DeleteWhileListing(device.Get(), [&](const std::string& instance) {
        std::string type, driver;
        {
            RegKey entry(device.Get(), instance);
            entry.ReadString("Class", type);
            entry.ReadString("Driver", driver);
        }
        const bool product =
            lstrcmpiA(type.c_str(), kProductClass) == 0 || (!driver.empty() && IsProductDriverKey(kClassRoot + driver));
        if (!product) return false;
        // Marked as the product's by its class first: a removal cut off once
        // the driver key is gone still knows the instance as ours.
        if (lstrcmpiA(type.c_str(), kProductClass) != 0)
            RegKey(device.Get(), instance).WriteString("Class", kProductClass);
        if (IsDriverKeyName(driver)) DeleteKeyTree(HKEY_LOCAL_MACHINE, kClassRoot + driver);
        return DeleteKeyTree(device.Get(), instance) == ERROR_SUCCESS;
    });
    std::string first;
    return !SubkeyAt(device.Get(), 0, first, 512);
}

}  // namespace

void RemoveEnumerationKeys() {
    for (const char* key : {"Enum\\Root\\Ternway", "Enum\\Root\\ZeltoKX9", "Enum\\ISAPNP\\KQZ0000"})
        DeleteKeyTree(HKEY_LOCAL_MACHINE, key);
}

void RemovePciEntries() {
    RegKey pci(HKEY_LOCAL_MACHINE, "Enum\\Pci");
    if (!pci.IsOpen()) return;
    for (const char* identifier : kPciDevices) {
        DeleteWhileListing(pci.Get(), [&](const std::string& device) {
            return device.compare(0, strlen(identifier), identifier) == 0 && CleanInstances(pci.Get(), device) &&
                   RegDeleteKeyA(pci.Get(), device.c_str()) == ERROR_SUCCESS;
        });
    }
}

void RemoveMediaEntries() {
    RegKey media(HKEY_LOCAL_MACHINE, std::string(kClassRoot) + "Media");
    if (!media.IsOpen()) return;
    DeleteWhileListing(media.Get(), [&](const std::string& entry) {
        std::string value;
        return RegKey(media.Get(), entry).ReadString("", value) && lstrcmpiA(value.c_str(), kProductDriver) == 0 &&
               DeleteKeyTree(media.Get(), entry) == ERROR_SUCCESS;
    });
}

void RemoveDeviceClass() {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string(kClassRoot) + kProductClass);
}

void RemoveCopiedInfFiles() {
    RegKey registrations(HKEY_LOCAL_MACHINE,
                         "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\SetupX\\Inf\\OEM Name");
    RegKey windows(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion");
    const struct {
        const char* value;
        std::vector<const char*> names;
    } folders[] = {{"DevicePath", {std::begin(kDevicePathInfs), std::end(kDevicePathInfs)}},
                   {"OtherDevicePath", {std::begin(kOtherDevicePathInfs), std::end(kOtherDevicePathInfs)}}};
    for (const auto& folder : folders) {
        std::string path;
        if (!windows.ReadString(folder.value, path, 260)) continue;
        CharLowerBuffA(path.data(), static_cast<DWORD>(path.size()));
        // Only a full folder: a relative one would delete elsewhere.
        if (!IsFullFolderPath(path)) continue;
        path += "\\";
        for (const char* name : folder.names) {
            const std::string file = path + name;
            DeleteIfPresent(file);
            if (registrations.IsOpen()) RegDeleteValueA(registrations.Get(), file.c_str());
        }
    }
}

void CheckDisplayAdapter() {
    RegKey present(HKEY_DYN_DATA, "Config Manager\\Enum");
    if (!present.IsOpen()) return;
    bool match = false;
    std::string device;
    for (DWORD index = 0; !match && SubkeyAt(present.Get(), index, device, 507); ++index) {
        std::string hardware;
        if (device.empty() || !RegKey(present.Get(), device).ReadString("HardWareKey", hardware)) continue;
        if (hardware.compare(0, 12, "PCI\\VEN_1023") != 0) continue;
        const std::string description = ReadRegistryString(HKEY_LOCAL_MACHINE, "Enum\\" + hardware, "DeviceDesc");
        match = description.find("9680") != std::string::npos || description.find("968x") != std::string::npos;
    }
    if (!match) return;
    RegKey(HKEY_LOCAL_MACHINE, kSetupKey).WriteByte("ReinitHost", 1);
}
