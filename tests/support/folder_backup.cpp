#include "folder_backup.h"

#include <cctype>

#include "file_backup.h"

namespace test_support {

namespace {

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Only a folder named by its full path is kept: anything else could put the
// removal somewhere unintended.
bool IsFullPath(const std::string& path) {
    return path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
}

// The Unix name Wine gives a path of an existing folder; empty elsewhere.
std::string UnixName(const std::string& path) {
    using Convert = char*(CDECL*)(const WCHAR*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH] = {};
    if (!convert || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return "";
    char* name = convert(wide);
    if (!name) return "";
    std::string unixName = name;
    HeapFree(GetProcessHeap(), 0, name);
    return unixName;
}

}  // namespace

namespace {

// Runs one of the host's own programs on Unix names and waits until the link
// is there or gone, as asked: Wine hands out no usable handle for a Unix
// process.
bool RunOnLink(const char* program, const std::string& arguments, const std::string& link, bool present) {
    std::string command = std::string(program) + " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA((std::string("Z:\\bin\\") + program).c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    for (int wait = 0; wait < 500; ++wait) {
        const DWORD attributes = GetFileAttributesA(link.c_str());
        if (!present && attributes == INVALID_FILE_ATTRIBUTES) return true;
        if (present && attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        Sleep(10);
    }
    return false;
}

// The link's Unix name: its folder's, with its own name.
std::string UnixLinkName(const std::string& link) {
    const size_t slash = link.rfind('\\');
    if (slash == std::string::npos) return "";
    const std::string folder = UnixName(link.substr(0, slash));
    return folder.empty() ? "" : folder + "/" + link.substr(slash + 1);
}

}  // namespace

bool MakeFolderLink(const std::string& link, const std::string& target) {
    const std::string from = UnixLinkName(link), to = UnixName(target);
    if (from.empty() || to.empty()) return false;
    return RunOnLink("ln", "-sfn \"" + to + "\" \"" + from + "\"", link, true);
}

void RemoveFolderLink(const std::string& link) {
    const std::string name = UnixLinkName(link);
    if (!name.empty()) RunOnLink("rm", "-f \"" + name + "\"", link, false);
}

void RemoveFolder(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (IsFolder(found.dwFileAttributes))
                RemoveFolder(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

FolderBackup::FolderBackup(std::string path) : path_(std::move(path)) {
    if (!IsFullPath(path_)) path_.clear();
    if (!path_.empty() && IsFolder(GetFileAttributesA(path_.c_str()))) Read("");
}

void FolderBackup::Read(const std::string& relative) {
    std::string folder = relative.empty() ? path_ : path_ + "\\" + relative;
    entries_.push_back({relative, GetFileAttributesA(folder.c_str()), ""});
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string inner = relative.empty() ? name : relative + "\\" + name;
        if (IsFolder(found.dwFileAttributes))
            Read(inner);
        else
            entries_.push_back({inner, found.dwFileAttributes, ReadFileBytes(path_ + "\\" + inner)});
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

FolderBackup::~FolderBackup() {
    if (path_.empty()) return;
    RemoveFolder(path_);
    for (const Entry& entry : entries_) {
        std::string full = entry.relative.empty() ? path_ : path_ + "\\" + entry.relative;
        if (IsFolder(entry.attributes))
            CreateDirectoryA(full.c_str(), nullptr);
        else
            WriteFileBytes(full, entry.bytes);
    }
    // Attributes last, innermost first, so a read-only folder takes its files.
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        std::string full = entry->relative.empty() ? path_ : path_ + "\\" + entry->relative;
        SetFileAttributesA(full.c_str(), entry->attributes);
    }
}

}  // namespace test_support
