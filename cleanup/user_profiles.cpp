#include "user_profiles.h"

#include <windows.h>

#include <string>

#include "registry.h"

namespace {

const char kReconciliation[] = ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\ProfileReconciliation";
const char kShellFolders[] = ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The shell folder's path relative to the Windows folder, as the default
// user's shell folders give it; the folder's own name otherwise.
std::string FolderName(const char* folder) {
    std::string path;
    if (!RegKey(HKEY_USERS, kShellFolders).ReadString(folder, path, 260)) return "";
    char windows[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    std::string prefix = length == 0 || length >= sizeof windows ? "" : std::string(windows) + "\\";
    return path.size() > prefix.size() ? path.substr(prefix.size()) : folder;
}

void WriteEntry(const RegKey& reconciliation, const char* folder, const std::string& name) {
    RegKey entry(reconciliation.Get(), folder, true);
    entry.WriteString("CentralFile", name);
    entry.WriteString("DefaultDir", "*windir\\" + name);
    entry.WriteString("LocalFile", name);
    entry.WriteString("Name", "*.lnk,*.pif");
    entry.WriteString("RegKey", kUserShellFolders);
    entry.WriteString("RegValue", folder);
    entry.WriteNumber("Default", 1);
    entry.WriteNumber("MustBeRelative", 1);
}

}  // namespace

void EnableUserProfiles() {
    RegKey logon(HKEY_LOCAL_MACHINE, "Network\\Logon", true);
    if (!logon.IsOpen()) return;
    DWORD enabled = 0;
    if (logon.ReadNumber("UserProfiles", enabled) && enabled != 0) return;

    if (RegKey reconciliation(HKEY_USERS, kReconciliation, true); reconciliation.IsOpen()) {
        WriteEntry(reconciliation, "Desktop", FolderName("Desktop"));
        WriteEntry(reconciliation, "Recent", FolderName("Recent"));
        WriteEntry(reconciliation, "NetHood", "NetHood");
        // These folders are shared by every user of the host.
        for (const char* shared : {"Start Menu", "Programs", "Startup"}) DeleteKeyTree(reconciliation.Get(), shared);
    }
    // The switch comes last: it tells a later run that the entries are
    // done, so a run cut off before it does them all again.
    logon.WriteNumber("UserProfiles", 1);
}
