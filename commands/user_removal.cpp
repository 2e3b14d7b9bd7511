#include "user_removal.h"

#include <windows.h>

#include "config_messages.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "resources.h"
#include "text.h"
#include "user_list_dialog.h"

namespace {

const DWORD kPathSize = 260;
const DWORD kUserNameSize = 259;
const char kProfileList[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList";

// A user name that names one folder inside the profiles folder: names such
// as ".." would take the removal outside it.
bool IsPlainFolderName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

// The folder is the user's own only when the file system finds it under the
// very name: it drops a trailing dot or blank and takes a short name for a
// long one, so "carol." or "CAROL~1" would lead to carol's folder.
bool IsUsersOwnFolder(const std::string& profile, const std::string& name) {
    if (!IsPlainFolderName(name) || name.back() == '.' || name.back() == ' ') return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(profile.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && lstrcmpiA(found.cFileName, name.c_str()) == 0;
}

// The profile file trims blanks around a key, so such a name would address
// another user's password-list entry.
bool IsExactProfileKey(const std::string& name) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !name.empty() && !blank(name.front()) && !blank(name.back());
}

bool IsCurrentUser(const std::string& name) {
    char current[kUserNameSize] = {};
    DWORD size = kUserNameSize;
    if (!GetUserNameA(current, &size)) return false;
    return lstrcmpiA(current, name.c_str()) == 0;
}

bool IsLoggedOn(const std::string& name) {
    RegistryKey loaded;
    if (!loaded.Open(HKEY_USERS, name.c_str())) return false;
    loaded.Close();
    return true;
}

void Say(UINT stringId, const std::string& first, const std::string& second = "") {
    ShowAppMessage(AfxFormat(AfxLoadString(stringId).c_str(), first.c_str(), second.c_str()).c_str(), MB_OK);
}

}  // namespace

bool RemoveDirectoryTree(const std::string& path) {
    // A link goes as a link; what it points to is not ours to remove.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return RemoveDirectoryA(path.c_str()) != 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            const bool removed = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryTree(full)
                                                                                     : DeleteFileA(full.c_str()) != 0;
            if (!removed) {
                FindClose(search);
                return false;
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(path.c_str()) != 0;
}

void RemoveUserCommand(CWnd* frame) {
    FlushHives();

    CUserPickDlg pick(frame);
    if (pick.DoModal() != IDOK || pick.userName.empty()) return;
    const std::string& name = pick.userName;
    const char* n = name.c_str();
    if (IsCurrentUser(name)) {
        ShowAppMessage(AfxFormat(AfxLoadString(IDS_USER_IS_CURRENT).c_str(), n, n, n, n).c_str(), MB_ICONSTOP);
        return;
    }
    if (IsLoggedOn(name)) {
        ShowAppMessage(AfxFormat(AfxLoadString(IDS_USER_LOGGED_ON).c_str(), n, n, n, n, n).c_str(), MB_ICONSTOP);
        return;
    }
    if (ShowAppMessage(AfxFormat(AfxLoadString(IDS_CONFIRM_REMOVE_USER).c_str(), n, n, n, n).c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;

    // Each step runs whatever became of the ones before, so a user removed
    // in part can be removed again.
    char windows[kPathSize] = {};
    GetWindowsDirectoryA(windows, kPathSize);
    std::string profile = AfxFormat("%s\\Profiles\\%s", windows, n);
    if (!IsUsersOwnFolder(profile, name) || !RemoveDirectoryTree(profile))
        Say(IDS_PROFILE_NOT_REMOVED, AfxLowerCase(profile));

    std::string systemIni = AfxFormat("%s\\system.ini", windows);
    if (IsExactProfileKey(name)) {
        char passwordFile[kPathSize] = {};
        GetPrivateProfileStringA("Password Lists", n, "", passwordFile, kPathSize, systemIni.c_str());
        if (passwordFile[0] && !DeleteFileA(passwordFile))
            Say(IDS_PASSWORD_FILE_NOT_DELETED, AfxLowerCase(passwordFile));
    }
    if (!IsExactProfileKey(name) || !WritePrivateProfileStringA("Password Lists", n, nullptr, systemIni.c_str()))
        Say(IDS_PASSWORD_ENTRY_NOT_DELETED, AfxLowerCase(systemIni), name);

    std::string entry = AfxFormat("%s\\%s", kProfileList, n);
    if (!DeleteSubkey(HKEY_LOCAL_MACHINE, entry.c_str())) Say(IDS_PROFILE_KEY_NOT_DELETED, entry);

    WritePrivateProfileStringA(nullptr, nullptr, nullptr, systemIni.c_str());
    RegFlushKey(HKEY_LOCAL_MACHINE);
}
