// A host PC at a chosen scale, laid out over the host's own for the hook
// timings: scale x 1000 device keys under Enum (PCI devices with their
// instances, root and ISA devices, among them three of the product's
// display adapter with their driver keys), scale x 100 printers in the
// registry and in win.ini, scale x 50 users in the profile list and in
// System.ini's password lists with their .PWL files, task folders with
// scale x 1000 files below the installation folder, and the product's branch
// with every board and station (station printers enabled, not yet moved).
// What the host had there is kept first and put back when the object goes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "file_backup.h"
#include "registry_backup.h"
#include "scaled_branch.h"

namespace bench {

// The installation folder the layout names; the task folders lie below it.
inline constexpr char kBenchInstallFolder[] = "C:\\Orvanta Bench";

class LargeHost {
public:
    explicit LargeHost(int scale);
    ~LargeHost();
    LargeHost(const LargeHost&) = delete;
    LargeHost& operator=(const LargeHost&) = delete;

    // What the removal takes and a run must find again: the product's
    // display adapters with their driver keys, and the task folders with
    // their logs. Whatever is left of them goes first.
    void PutBackProductDevices();
    void PutBackTaskFolders();

    int DeviceKeys() const { return deviceKeys_; }
    int Printers() const { return printers_; }
    int Users() const { return users_; }
    int TaskFiles() const { return taskFiles_; }

private:
    void LayOutDevices();
    void LayOutPrinters();
    void LayOutUsers();
    void LayOutBranch();

    int scale_;
    std::vector<std::unique_ptr<test_support::RegistryBackup>> keptKeys_;
    std::vector<std::unique_ptr<test_support::FileBackup>> keptFiles_;
    std::vector<std::string> passwordFiles_;
    // Declared last, so it puts the product's branch back first.
    std::unique_ptr<ScaledBranch> branch_;
    int deviceKeys_ = 0;
    int printers_ = 0;
    int users_ = 0;
    int taskFiles_ = 0;
};

}  // namespace bench
