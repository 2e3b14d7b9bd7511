#include "cleanup_host_keeper.h"

#include <algorithm>

#include "file_lists.h"
#include "host_folders.h"

namespace test_support {

namespace {

const char* const kMachineKeys[] = {
    "Software\\Quillon\\Orvanta",
    "Software\\Quillon\\Zelto",
    "Network\\Logon",
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
    // Setup adds a power scheme for the machine and every user.
    "Software\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\PowerCfg",
    // The removal takes the copied INF files with their registrations.
    "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\SetupX\\Inf\\OEM Name",
    // The station printer steps of the products with station ports.
    "System\\CurrentControlSet\\Control\\Print\\Printers",
    "System\\CurrentControlSet\\Control\\Print\\Ports",
    "System\\CurrentControlSet\\Control\\Print\\Monitors\\OrvantaPrinters",
    "Enum\\Root\\Ternway",
    "System\\CurrentControlSet\\Services\\Class\\Ports",
};

}  // namespace

CleanupHostKeeper::CleanupHostKeeper() {
    for (const char* path : kMachineKeys) KeepKey(HKEY_LOCAL_MACHINE, path);
    KeepKey(HKEY_CURRENT_USER, "Software\\Quillon");
    KeepKey(HKEY_CURRENT_USER, "Control Panel\\PowerCfg");
    KeepKey(HKEY_USERS, ".Default\\Control Panel\\PowerCfg");
    KeepKey(HKEY_USERS, ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\ProfileReconciliation");

    // The boot files with the backups and scratch copies of their rewrite.
    for (const char* path : {"C:\\CONFIG.SYS", "C:\\CONFIG.BAK", "C:\\CONFIG.$$$", "C:\\AUTOEXEC.BAT",
                             "C:\\AUTOEXEC.BAK", "C:\\AUTOEXEC.$$$", "c:\\msdos.sys"})
        KeepFile(path);
    const std::string windows = WindowsFolder();
    for (const char* name : {"system.ini", "win.ini", "Wininit.ini", "temp\\~ORVANTA.REG"})
        KeepFile(windows + "\\" + name);
    for (const std::string& name : WindowsFolderFiles()) KeepFile(windows + "\\" + name);
    // The station driver files that the host carries among them.
    const std::string system = SystemFolder();
    for (const std::string& name : SystemFolderFiles()) KeepFile(system + "\\" + name);
    KeepFolder(windows + "\\inf");
}

CleanupHostKeeper::~CleanupHostKeeper() {
    folders_.clear();
    files_.clear();
    // A key kept inside another goes back first, then the outer one over
    // it, whatever order they were kept in.
    std::stable_sort(keys_.begin(), keys_.end(), [](const KeptKey& a, const KeptKey& b) { return a.depth > b.depth; });
    for (KeptKey& key : keys_) key.backup.reset();
    RegFlushKey(HKEY_LOCAL_MACHINE);
}

void CleanupHostKeeper::KeepKey(HKEY root, const std::string& path) {
    const std::string kept = KeyToKeep(root, path);
    keys_.push_back({static_cast<size_t>(std::count(kept.begin(), kept.end(), '\\')),
                     std::make_unique<RegistryBackup>(root, kept)});
}

void CleanupHostKeeper::KeepFile(const std::string& path) {
    files_.push_back(std::make_unique<FileBackup>(path));
}

void CleanupHostKeeper::KeepFolder(const std::string& path) {
    folders_.push_back(std::make_unique<FolderBackup>(path));
}

void CleanupHostKeeper::KeepStartMenuFolder(const std::string& name) {
    const std::string programs = StartMenuProgramsFolder();
    if (!programs.empty()) KeepFolder(programs + "\\" + name);
}

}  // namespace test_support
