// The product's device registrations removed at uninstallation: enumeration
// keys, PCI instances with their driver keys (and the devices left empty),
// media entries, the device class and the copied INF files; and after
// setup the display adapter check that asks for the host to be
// reinitialised.
#include "cleanup_fixture.h"
#include "registry_values.h"

namespace {

using namespace cleanup_test;
using test_support::PutText;

using test_support::KeyExists;
bool HasValue(const std::string& path, const std::string& name) {
    return test_support::ReadValue(HKEY_LOCAL_MACHINE, path, name.c_str()).present;
}
std::string Bytes(const char* path, const char* name) {
    test_support::StoredValue value = test_support::ReadValue(HKEY_LOCAL_MACHINE, path, name);
    return value.present ? value.bytes : "(none)";
}

const char kPci[] = "Enum\\Pci";
const char kClassRoot[] = "System\\CurrentControlSet\\Services\\Class";
const char kWindowsVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kInfRegistrations[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\SetupX\\Inf\\OEM Name";
const char kPresent[] = "Config Manager\\Enum";

class DeviceRegistrations : public CleanupTest {
protected:
    // A PCI instance with its class and driver key; the driver key's default
    // value tells whose driver it is.
    static void PutInstance(const std::string& device, const std::string& instance, const char* type,
                            const std::string& driver, const char* driverOwner = nullptr) {
        const std::string path = std::string(kPci) + "\\" + device + "\\" + instance;
        PutText(HKEY_LOCAL_MACHINE, path, "Class", type);
        if (!driver.empty()) PutText(HKEY_LOCAL_MACHINE, path, "Driver", driver);
        if (driverOwner) PutText(HKEY_LOCAL_MACHINE, std::string(kClassRoot) + "\\" + driver, "", driverOwner);
    }
    static std::string Instance(const std::string& device, const std::string& instance = "") {
        return std::string(kPci) + "\\" + device + (instance.empty() ? "" : "\\" + instance);
    }
    static std::string DriverKey(const std::string& driver) { return std::string(kClassRoot) + "\\" + driver; }

    test_support::RegistryBackup ternway_{HKEY_LOCAL_MACHINE, "Enum\\Root\\Ternway"};
    test_support::RegistryBackup kx9_{HKEY_LOCAL_MACHINE, "Enum\\Root\\ZeltoKX9"};
    test_support::RegistryBackup isa_{HKEY_LOCAL_MACHINE, "Enum\\ISAPNP\\KQZ0000"};
    test_support::RegistryBackup pci_{HKEY_LOCAL_MACHINE, kPci};
    test_support::RegistryBackup classes_{HKEY_LOCAL_MACHINE, kClassRoot};
    test_support::RegistryBackup infs_{HKEY_LOCAL_MACHINE, kInfRegistrations};
    test_support::RegistryBackup present_{HKEY_DYN_DATA, kPresent};
    test_support::RegistryBackup setup_{HKEY_LOCAL_MACHINE, kSetupKey};
    test_support::ValueBackup devicePath_{HKEY_LOCAL_MACHINE, kWindowsVersion, "DevicePath"};
    test_support::ValueBackup otherDevicePath_{HKEY_LOCAL_MACHINE, kWindowsVersion, "OtherDevicePath"};
};

TEST_F(DeviceRegistrations, TheProductsEnumerationKeysAndClassGo) {
    for (const char* key : {"Enum\\Root\\Ternway\\App1Port1", "Enum\\Root\\ZeltoKX9\\0000", "Enum\\ISAPNP\\KQZ0000\\0",
                            "Enum\\ISAPNP\\KQZ0001\\0", "Enum\\Root\\Printer\\0000"})
        PutText(HKEY_LOCAL_MACHINE, key, "Class", "x");
    PutText(HKEY_LOCAL_MACHINE, DriverKey("DevurOvezovuVovezuv\\0000"), "", "OrvantaWorkstation");
    ASSERT_EQ(Uninstall(), 0);
    EXPECT_FALSE(KeyExists("Enum\\Root\\Ternway"));
    EXPECT_FALSE(KeyExists("Enum\\Root\\ZeltoKX9"));
    EXPECT_FALSE(KeyExists("Enum\\ISAPNP\\KQZ0000"));
    EXPECT_TRUE(KeyExists("Enum\\ISAPNP\\KQZ0001"));
    EXPECT_TRUE(KeyExists("Enum\\Root\\Printer"));
    EXPECT_FALSE(KeyExists(DriverKey("DevurOvezovuVovezuv")));
}

TEST_F(DeviceRegistrations, OnlyTheProductsInstancesLeaveAPciDevice) {
    const std::string device = "VEN_5333&DEV_8A20&SUBSYS_00000000&REV_03";
    PutInstance(device, "BUS_01&DEV_00&FUNC_00", "DevurOvezovuVovezuv", "DevurOvezovuVovezuv\\0001");
    PutInstance(device, "BUS_01&DEV_00&FUNC_01", "Display", "Display\\0003", "Standard display");
    ASSERT_EQ(Uninstall(), 0);
    EXPECT_FALSE(KeyExists(Instance(device, "BUS_01&DEV_00&FUNC_00")));
    EXPECT_TRUE(KeyExists(Instance(device, "BUS_01&DEV_00&FUNC_01")));
    EXPECT_TRUE(KeyExists(DriverKey("Display\\0003")));
}

TEST_F(DeviceRegistrations, ADeviceLeftEmptyGoesWithItsDriverKey) {
    const std::string device = "VEN_1023&DEV_9750&SUBSYS_12345678";
    // Recognised by its driver key alone.
    PutInstance(device, "BUS_00&DEV_0D&FUNC_00", "Display", "Display\\0007", "orvantaworkstation");
    // Of the product's class, without a driver key.
    const std::string other = "VEN_1490&DEV_1000";
    PutInstance(other, "BUS_00&DEV_0E&FUNC_00", "DEVUROVEZOVUVOVEZUV", "");
    // A driver value naming a whole class: the instance goes, the class stays.
    PutInstance(other, "BUS_00&DEV_0E&FUNC_01", "DevurOvezovuVovezuv", "Display");
    // Not the product's: another vendor, and a name that differs in case.
    PutInstance("VEN_8086&DEV_7190", "BUS_00&DEV_00&FUNC_00", "DevurOvezovuVovezuv", "");
    PutInstance("ven_1023&dev_9750", "BUS_00&DEV_00&FUNC_00", "DevurOvezovuVovezuv", "");
    PutText(HKEY_LOCAL_MACHINE, DriverKey("Display\\0001"), "", "Standard display");

    ASSERT_EQ(Uninstall(), 0);
    EXPECT_FALSE(KeyExists(Instance(device)));
    EXPECT_FALSE(KeyExists(DriverKey("Display\\0007")));
    EXPECT_FALSE(KeyExists(Instance(other)));
    EXPECT_TRUE(KeyExists(DriverKey("Display\\0001"))) << "the class itself stays";
    EXPECT_TRUE(KeyExists(Instance("VEN_8086&DEV_7190", "BUS_00&DEV_00&FUNC_00")));
    EXPECT_TRUE(KeyExists(Instance("ven_1023&dev_9750", "BUS_00&DEV_00&FUNC_00")));
}

TEST_F(DeviceRegistrations, EachListingStopsAfterElevenDeletions) {
    const std::string device = "VEN_1285&DEV_0100&SUBSYS_1";
    for (int i = 0; i < 13; ++i) PutInstance(device, "INST_" + std::to_string(10 + i), "DevurOvezovuVovezuv", "");
    for (int i = 0; i < 13; ++i)
        PutInstance("VEN_5333&DEV_8A20&SUBSYS_" + std::to_string(10 + i), "INST", "DevurOvezovuVovezuv", "");
    ASSERT_EQ(Uninstall(), 0);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, Instance(device).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD left = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &left, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(left, 2u) << "instances left after eleven deletions";
    int devices = 0;
    for (int i = 0; i < 13; ++i) devices += KeyExists(Instance("VEN_5333&DEV_8A20&SUBSYS_" + std::to_string(10 + i)));
    EXPECT_EQ(devices, 2) << "devices left after eleven deletions";
}

TEST_F(DeviceRegistrations, TheProductsMediaEntriesGo) {
    const std::string media = std::string(kClassRoot) + "\\Media";
    PutText(HKEY_LOCAL_MACHINE, media + "\\0004", "", "OrvantaWorkstation");
    PutText(HKEY_LOCAL_MACHINE, media + "\\0005", "", "Sound card");
    PutText(HKEY_LOCAL_MACHINE, media + "\\0006", "", "ORVANTAWORKSTATION");
    PutText(HKEY_LOCAL_MACHINE, media + "\\0006\\Drivers", "", "x");
    ASSERT_EQ(Uninstall(), 0);
    EXPECT_FALSE(KeyExists(media + "\\0004"));
    EXPECT_TRUE(KeyExists(media + "\\0005"));
    EXPECT_FALSE(KeyExists(media + "\\0006"));
}

TEST_F(DeviceRegistrations, TheCopiedInfFilesAndTheirRegistrationsGo) {
    CreateDirectoryA("C:\\windows\\inf", nullptr);
    CreateDirectoryA("C:\\windows\\inf\\other", nullptr);
    const std::string s3 = "c:\\windows\\inf\\s3svg.inf", other = "c:\\windows\\inf\\other\\TC Labs3DM.INF",
                      foreign = "c:\\windows\\inf\\machine.inf";
    test_support::FileBackup keep1(s3), keep2(other), keep3(foreign);
    for (const std::string& file : {s3, other, foreign}) {
        test_support::WriteFileBytes(file, "[Version]\r\n");
        PutText(HKEY_LOCAL_MACHINE, kInfRegistrations, file.c_str(), "x");
    }
    PutText(HKEY_LOCAL_MACHINE, kWindowsVersion, "DevicePath", "C:\\WINDOWS\\INF");
    PutText(HKEY_LOCAL_MACHINE, kWindowsVersion, "OtherDevicePath", "C:\\WINDOWS\\INF\\OTHER");
    ASSERT_EQ(Uninstall(), 0);
    EXPECT_FALSE(test_support::FileExists(s3));
    EXPECT_FALSE(test_support::FileExists(other));
    EXPECT_TRUE(test_support::FileExists(foreign));
    EXPECT_FALSE(HasValue(kInfRegistrations, s3));
    EXPECT_FALSE(HasValue(kInfRegistrations, other));
    EXPECT_TRUE(HasValue(kInfRegistrations, foreign));

    // A folder that is not a full path deletes nothing.
    test_support::WriteFileBytes(s3, "[Version]\r\n");
    PutText(HKEY_LOCAL_MACHINE, kWindowsVersion, "DevicePath", "INF");
    ASSERT_EQ(Uninstall(), 0);
    EXPECT_TRUE(test_support::FileExists(s3));
}

class DisplayAdapter : public DeviceRegistrations {
protected:
    // A device present since Windows started, with its description.
    static void PresentDevice(const char* node, const std::string& hardware, const char* description) {
        PutText(HKEY_DYN_DATA, std::string(kPresent) + "\\" + node, "HardWareKey", hardware);
        PutText(HKEY_LOCAL_MACHINE, "Enum\\" + hardware, "DeviceDesc", description);
    }
};

TEST_F(DisplayAdapter, OnlyTheAffectedAdapterAsksForTheHostToBeReinitialised) {
    RegDeleteTreeA(HKEY_DYN_DATA, kPresent);
    const BYTE before = 0;
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, kSetupKey, &key);
    RegSetValueExA(key, "ReinitHost", 0, REG_BINARY, &before, 1);
    RegCloseKey(key);
    PresentDevice("C29A0000", "PCI\\VEN_1023&DEV_9750&SUBSYS_00000000\\BUS_01&DEV_00&FUNC_00", "Display 9750 AGP");
    PresentDevice("C29A0001", "PCI\\VEN_5333&DEV_8A20\\BUS_01&DEV_00&FUNC_00", "Display 9680");
    ASSERT_TRUE(SetupComplete(3));
    EXPECT_EQ(Bytes(kSetupKey, "ReinitHost"), std::string(1, '\0')) << "no match: left as it was";

    PresentDevice("C29A0002", "PCI\\VEN_1023&DEV_9880&SUBSYS_00000000\\BUS_01&DEV_00&FUNC_00", "Display 968x PCI");
    ASSERT_TRUE(SetupComplete(3));
    EXPECT_EQ(Bytes(kSetupKey, "ReinitHost"), std::string(1, '\1'));
}

}  // namespace
