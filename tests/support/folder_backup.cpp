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

}  // namespace

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
