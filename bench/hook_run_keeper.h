// What one run of a Cleanup.dll hook changes on the bench's large host,
// besides the device keys and task folders that LargeHost lays out again:
// boot and profile files, the snapshot, the product's keys and files, the
// printer, port and device registrations, the power schemes. Kept while the
// keeper lives and put back as it was when it goes, so every run finds the
// same host.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "file_backup.h"
#include "folder_backup.h"
#include "registry_backup.h"

namespace bench {

class HookRunKeeper {
public:
    HookRunKeeper();
    ~HookRunKeeper();
    HookRunKeeper(const HookRunKeeper&) = delete;
    HookRunKeeper& operator=(const HookRunKeeper&) = delete;

private:
    void KeepKey(HKEY root, const char* path);
    void KeepFile(const std::string& path);
    void KeepFolder(const std::string& path);

    std::vector<std::unique_ptr<test_support::RegistryBackup>> keys_;
    std::vector<std::unique_ptr<test_support::FileBackup>> files_;
    std::vector<std::unique_ptr<test_support::FolderBackup>> folders_;
};

}  // namespace bench
