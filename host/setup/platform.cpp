#include "platform.h"

#include <cstdio>

namespace setup {

std::string WithoutTrailingBackslash(std::string folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return path;
    return std::string(full, length);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return WithoutTrailingBackslash(folder) + "\\" + name;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, length < sizeof path ? length : 0);
    size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

std::string TempFolder() {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof path, path);
    if (length == 0 || length >= sizeof path) return "C:\\windows\\temp";
    return WithoutTrailingBackslash(std::string(path, length));
}

bool SameFolder(const std::string& a, const std::string& b) {
    return lstrcmpiA(WithoutTrailingBackslash(FullPath(a)).c_str(), WithoutTrailingBackslash(FullPath(b)).c_str()) == 0;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeWritable(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolders(const std::string& folder, std::string& error) {
    std::string full = WithoutTrailingBackslash(FullPath(folder));
    // Each level in turn, from the first below the drive or share root.
    for (size_t at = full.find('\\', full.rfind(':') == std::string::npos ? 0 : full.rfind(':') + 2);;
         at = full.find('\\', at + 1)) {
        std::string level = at == std::string::npos ? full : full.substr(0, at);
        if (!level.empty() && !FolderExists(level) && !CreateDirectoryA(level.c_str(), nullptr)) {
            DWORD code = GetLastError();
            if (!FolderExists(level)) {
                error = "cannot create the folder " + level + ": " + ErrorText(code);
                return false;
            }
        }
        if (at == std::string::npos) return true;
    }
}

std::string ErrorText(DWORD code) {
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  sizeof text, nullptr);
    std::string result(text, length);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == ' ' || result.back() == '.'))
        result.pop_back();
    for (char& c : result)
        if (c == '\r' || c == '\n') c = ' ';
    char number[32];
    std::snprintf(number, sizeof number, "error %lu", static_cast<unsigned long>(code));
    return result.empty() ? std::string(number) : result + " (" + number + ")";
}

}  // namespace setup
