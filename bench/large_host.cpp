#include "large_host.h"

#include <windows.h>

#include <cstdio>

#include "folder_backup.h"
#include "host_folders.h"

namespace bench {

namespace {

const char kEnumKey[] = "Enum";
const char kPciKey[] = "Enum\\Pci";
const char kDisplayClassKey[] = "System\\CurrentControlSet\\Services\\Class\\Display";
const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers";
const char kProfileListKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList";
const char kProductKey[] = "Software\\Quillon\\Orvanta";
const char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";
const char kProductDriver[] = "OrvantaWorkstation";
const int kStations = 8;
const int kProductAdapters = 3;
// Per unit of scale.
const int kPciDevices = 100;
const int kPciInstances = 4;
const int kRootClasses = 10;
const int kRootInstances = 24;
const int kIsaDevices = 50;
const int kIsaInstances = 4;
const int kPrinters = 100;
const int kUsers = 50;
const int kTaskFiles = 1000;
const int kFilesPerJob = 25;
const int kJobsPerWeek = 10;

std::string Format(const char* format, int first, int second = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, first, second);
    return text;
}

// One key of HKEY_LOCAL_MACHINE, created with its parents and open while the
// object lives.
class Key {
public:
    explicit Key(const std::string& path) {
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) !=
            ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    void Text(const char* name, const std::string& value) {
        if (key_)
            RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
    }
    void Byte(const char* name, BYTE value) {
        if (key_) RegSetValueExA(key_, name, 0, REG_BINARY, &value, 1);
    }

private:
    HKEY key_ = nullptr;
};

// Adds the entries (each "name=value") after what the section holds.
void AppendToSection(const char* section, const std::string& file, const std::vector<std::string>& entries) {
    std::vector<char> old(1 << 20, '\0');
    const DWORD length = GetPrivateProfileSectionA(section, old.data(), static_cast<DWORD>(old.size()), file.c_str());
    std::string text(old.data(), length);
    for (const std::string& entry : entries) {
        text += entry;
        text += '\0';
    }
    text += '\0';
    WritePrivateProfileSectionA(section, text.c_str(), file.c_str());
}

std::string TaskFolder(int station) {
    return std::string(kBenchInstallFolder) + Format("\\Station%dTasks", station);
}

}  // namespace

LargeHost::LargeHost(int scale) : scale_(scale) {
    for (const char* path : {kEnumKey, kDisplayClassKey, kPrintersKey, kProfileListKey})
        keptKeys_.push_back(std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE, path));
    for (const char* name : {"win.ini", "system.ini"})
        keptFiles_.push_back(std::make_unique<test_support::FileBackup>(test_support::WindowsFile(name)));
    test_support::RemoveFolder(kBenchInstallFolder);
    branch_ = std::make_unique<ScaledBranch>();
    LayOutBranch();
    LayOutDevices();
    LayOutPrinters();
    LayOutUsers();
    PutBackTaskFolders();
    RegFlushKey(HKEY_LOCAL_MACHINE);
}

LargeHost::~LargeHost() {
    test_support::RemoveFolder(kBenchInstallFolder);
    for (const std::string& file : passwordFiles_) DeleteFileA(file.c_str());
    branch_.reset();
    keptFiles_.clear();
    keptKeys_.clear();
    RegFlushKey(HKEY_LOCAL_MACHINE);
}

// The boards and stations of the snapshot bench's smallest branch, in the
// bench's own installation folder, every station printing through a
// printer on the station's own port, which setup moves to an LPT port.
void LargeHost::LayOutBranch() {
    branch_->Fill(1);
    Key product(kProductKey);
    product.Text("Install Directory", kBenchInstallFolder);
    product.Byte("Product Type", 4);
    for (int station = 1; station <= kStations; ++station) {
        Key key(std::string(kSetupKey) + Format("\\Station%d", station));
        key.Byte("Printer Enabled", 1);
        key.Text("Printer Name", Format("Station%d Printer", station));
    }
}

void LargeHost::LayOutDevices() {
    for (int unit = 0; unit < scale_; ++unit) {
        for (int device = 0; device < kPciDevices; ++device) {
            const int number = unit * kPciDevices + device;
            // Vendors spread so that the product's sorts among them.
            const std::string name =
                std::string(kPciKey) + Format("\\VEN_%04X&DEV_%04X", 0x0E00 + (number * 7919) % 0x400, 0x2000 + number);
            Key{name};
            ++deviceKeys_;
            for (int instance = 0; instance < kPciInstances; ++instance) {
                Key key(name + Format("\\BUS_%02X&DEV_%02X&FUNC_00", instance, number % 32));
                key.Text("Class", instance % 2 ? "Net" : "System");
                key.Text("Driver",
                         Format(instance % 2 ? "Net\\%04d" : "System\\%04d", number * kPciInstances + instance));
                key.Text("DeviceDesc", Format("PCI device %d, function %d", number, instance));
                ++deviceKeys_;
            }
        }
        // Root and ISA devices: a key each, its instances below it.
        const auto layOut = [&](const char* device, int devices, int instances, const char* deviceClass,
                                int firstDriver) {
            for (int number = unit * devices; number < (unit + 1) * devices; ++number) {
                ++deviceKeys_;
                for (int instance = 0; instance < instances; ++instance) {
                    Key key(std::string(kEnumKey) + Format(device, number, instance));
                    key.Text("Class", deviceClass);
                    key.Text("Driver", std::string(deviceClass) + Format("\\%04d", firstDriver + instance));
                    ++deviceKeys_;
                }
            }
        };
        layOut("\\Root\\BenchRoot%03d\\%04d", kRootClasses, kRootInstances, "System", 5000);
        layOut("\\ISAPNP\\BNC%04X\\%04d", kIsaDevices, kIsaInstances, "Media", 100);
    }
    PutBackProductDevices();
    deviceKeys_ += 2 * kProductAdapters;
}

void LargeHost::PutBackProductDevices() {
    for (int adapter = 0; adapter < kProductAdapters; ++adapter) {
        const std::string driver = Format("Display\\%04d", 100 + adapter);
        Key instance(std::string(kPciKey) + Format("\\VEN_1023&DEV_9750&SUBSYS_%08X&REV_01\\BUS_01&DEV_%02X&FUNC_00",
                                                   0x1000 + adapter, adapter));
        instance.Text("Class", "Display");
        instance.Text("Driver", driver);
        instance.Text("DeviceDesc", "Orvanta Workstation display adapter");
        Key(std::string(kDisplayClassKey) + driver.substr(driver.find('\\'))).Text("", kProductDriver);
    }
}

void LargeHost::LayOutPrinters() {
    const std::string winIni = test_support::WindowsFile("win.ini");
    std::vector<std::string> devices, ports;
    const int count = scale_ * kPrinters;
    for (int number = 0; number < count; ++number) {
        std::string name, port;
        if (number < kStations) {
            name = Format("Station%d Printer", number + 1);
            port = Format("Station%d", number + 1);
        } else {
            name = Format("Office Printer %05d", number);
            static const char* const kPorts[] = {"LPT1:", "LPT2:", "FILE:"};
            port = number % 4 == 3 ? Format("\\\\Server%02d\\Queue%05d", number % 50, number) : kPorts[number % 4];
        }
        Key key(std::string(kPrintersKey) + "\\" + name);
        key.Text("Port", port);
        key.Text("Printer Driver", "Generic / Text Only");
        devices.push_back(name + "=winspool," + port);
        ports.push_back(name + "=winspool," + port + ",15,45");
        ++printers_;
    }
    AppendToSection("Devices", winIni, devices);
    AppendToSection("PrinterPorts", winIni, ports);
}

void LargeHost::LayOutUsers() {
    const std::string windows = test_support::WindowsFolder();
    std::vector<std::string> lists;
    for (int number = 0; number < scale_ * kUsers; ++number) {
        const std::string name = Format("BENCHUSER%04d", number);
        Key(std::string(kProfileListKey) + "\\" + name).Text("ProfileImagePath", windows + "\\Profiles\\" + name);
        const std::string file = windows + "\\" + name + ".PWL";
        if (test_support::WriteFileBytes(file, "\xE3\x82\x85\x96" + name)) passwordFiles_.push_back(file);
        lists.push_back(name + "=" + file);
        ++users_;
    }
    AppendToSection("Password Lists", windows + "\\system.ini", lists);
}

void LargeHost::PutBackTaskFolders() {
    taskFiles_ = 0;
    CreateDirectoryA(kBenchInstallFolder, nullptr);
    const int jobs = scale_ * kTaskFiles / kStations / kFilesPerJob;
    for (int station = 1; station <= kStations; ++station) {
        const std::string folder = TaskFolder(station);
        test_support::RemoveFolder(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        for (int job = 0; job < jobs; ++job) {
            const std::string week = folder + Format("\\Week%02d", job / kJobsPerWeek);
            if (job % kJobsPerWeek == 0) CreateDirectoryA(week.c_str(), nullptr);
            const std::string jobFolder = week + Format("\\Job%03d", job);
            CreateDirectoryA(jobFolder.c_str(), nullptr);
            for (int file = 0; file < kFilesPerJob; ++file) {
                if (test_support::WriteFileBytes(jobFolder + Format("\\Task%02d.job", file),
                                                 Format("station %d job %d\r\n", station, job)))
                    ++taskFiles_;
            }
        }
        test_support::WriteFileBytes(std::string(kBenchInstallFolder) + Format("\\Station%dTaskLog.txt", station),
                                     "log\r\n");
    }
}

}  // namespace bench
