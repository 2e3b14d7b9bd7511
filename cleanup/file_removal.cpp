#include "file_removal.h"

#include <windows.h>

#include "failure_report.h"

void DeleteIfPresent(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    if (!DeleteFileA(path.c_str())) ReportFailure("delete the file", path, false);
}

void RemoveDirIfPresent(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    if (!RemoveDirectoryA(path.c_str())) ReportFailure("remove the directory", path, false);
}

void ClearAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const DWORD guarded = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    // No attribute left is "normal": Windows 95/98 refuse 0.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & guarded) != 0)
        SetFileAttributesA(path.c_str(), (attributes & ~guarded) ? attributes & ~guarded : FILE_ATTRIBUTE_NORMAL);
}
