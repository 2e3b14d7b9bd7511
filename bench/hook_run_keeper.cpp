#include "hook_run_keeper.h"

#include <windows.h>

#include "file_lists.h"
#include "registry_values.h"

namespace bench {

namespace {

std::string Folder(UINT (*query)(char*, UINT)) {
    char folder[MAX_PATH] = {};
    const UINT length = query(folder, sizeof folder);
    return length > 0 && length < sizeof folder ? folder : "";
}

UINT WindowsDirectory(char* folder, UINT size) {
    return GetWindowsDirectoryA(folder, size);
}

UINT SystemDirectory(char* folder, UINT size) {
    return GetSystemDirectoryA(folder, size);
}

const char* const kMachineKeys[] = {
    "Software\\Quillon\\Orvanta",
    "Software\\Quillon\\Zelto",
    "Network\\Logon",
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\PowerCfg",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\SetupX\\Inf\\OEM Name",
    "System\\CurrentControlSet\\Control\\Print\\Printers",
    "System\\CurrentControlSet\\Control\\Print\\Ports",
    "System\\CurrentControlSet\\Control\\Print\\Monitors\\OrvantaPrinters",
    "Enum\\Root\\Ternway",
    "Enum\\Root\\ZeltoKX9",
    "Enum\\ISAPNP\\KQZ0000",
    "System\\CurrentControlSet\\Services\\Class\\Ports",
    "System\\CurrentControlSet\\Services\\Class\\Display",
    "System\\CurrentControlSet\\Services\\Class\\Media",
    "System\\CurrentControlSet\\Services\\Class\\DevurOvezovuVovezuv",
};

}  // namespace

HookRunKeeper::HookRunKeeper() {
    for (const char* path : kMachineKeys) KeepKey(HKEY_LOCAL_MACHINE, path);
    KeepKey(HKEY_CURRENT_USER, "Software\\Quillon");
    KeepKey(HKEY_CURRENT_USER, "Control Panel\\PowerCfg");
    KeepKey(HKEY_USERS, ".Default\\Control Panel\\PowerCfg");
    KeepKey(HKEY_USERS, ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\ProfileReconciliation");

    const std::string windows = Folder(WindowsDirectory);
    const std::string system = Folder(SystemDirectory);
    for (const char* path : {"C:\\CONFIG.SYS", "C:\\CONFIG.BAK", "C:\\CONFIG.$$$", "C:\\AUTOEXEC.BAT",
                             "C:\\AUTOEXEC.BAK", "C:\\AUTOEXEC.$$$", "c:\\msdos.sys"})
        KeepFile(path);
    for (const char* name : {"system.ini", "win.ini", "Wininit.ini", "temp\\~ORVANTA.REG", "Orvanta.sys"})
        KeepFile(windows + "\\" + name);
    // The copied INF files the removal deletes lie in the INF folder.
    KeepFolder(windows + "\\inf");
    for (const std::string& name : WindowsFolderFiles()) KeepFile(windows + "\\" + name);
    for (const std::string& name : SystemFolderFiles()) KeepFile(system + "\\" + name);

    const std::string programs = test_support::ReadText(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs");
    if (!programs.empty()) {
        KeepFolder(programs + "\\Quillon Orvanta");
        KeepFolder(programs + "\\Startup Orvanta");
    }
}

HookRunKeeper::~HookRunKeeper() {
    // Nested keys go back innermost first, then the outer ones over them.
    folders_.clear();
    files_.clear();
    while (!keys_.empty()) keys_.pop_back();
    RegFlushKey(HKEY_LOCAL_MACHINE);
}

void HookRunKeeper::KeepKey(HKEY root, const char* path) {
    keys_.push_back(std::make_unique<test_support::RegistryBackup>(root, test_support::KeyToKeep(root, path)));
}

void HookRunKeeper::KeepFile(const std::string& path) {
    files_.push_back(std::make_unique<test_support::FileBackup>(path));
}

void HookRunKeeper::KeepFolder(const std::string& path) {
    folders_.push_back(std::make_unique<test_support::FolderBackup>(path));
}

}  // namespace bench
