// Keeps what Cleanup.dll's hooks change on any host while the keeper lives
// and puts it back as it was when it goes: the boot and initialization
// files, the registry snapshot, the product's keys and files, the power
// schemes, the printer and port registrations, the copied INF files with
// their registrations. The setup library's suites and hook_bench both keep
// a host this way; each adds what only its own host needs kept.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "file_backup.h"
#include "folder_backup.h"
#include "registry_backup.h"

namespace test_support {

class CleanupHostKeeper {
public:
    CleanupHostKeeper();
    ~CleanupHostKeeper();
    CleanupHostKeeper(const CleanupHostKeeper&) = delete;
    CleanupHostKeeper& operator=(const CleanupHostKeeper&) = delete;

    // A key with everything below it; when its parents are missing, the
    // outermost missing one, so that parents a hook creates go again too.
    void KeepKey(HKEY root, const std::string& path);
    void KeepFile(const std::string& path);
    void KeepFolder(const std::string& path);
    // A folder of the user's start-menu programs, as the shell's folder
    // list names it; nothing when the list names none.
    void KeepStartMenuFolder(const std::string& name);

private:
    struct KeptKey {
        size_t depth;  // how many keys lie above it
        std::unique_ptr<RegistryBackup> backup;
    };

    std::vector<KeptKey> keys_;
    std::vector<std::unique_ptr<FileBackup>> files_;
    std::vector<std::unique_ptr<FolderBackup>> folders_;
};

}  // namespace test_support
