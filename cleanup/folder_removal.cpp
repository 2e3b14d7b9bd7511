#include "folder_removal.h"

#include <windows.h>

#include "file_removal.h"
#include "product_files.h"
#include "registry.h"
#include "registry_paths.h"
#include "safe_paths.h"

namespace {

class FindHandle {
public:
    FindHandle(const std::string& pattern, WIN32_FIND_DATAA& found)
        : handle_(FindFirstFileA(pattern.c_str(), &found)) {}
    ~FindHandle() { Close(); }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    void Close() {
        if (IsOpen() && !FindClose(handle_)) OutputDebugStringA("FindClose failed");
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

}  // namespace

bool DeleteFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA found = {};
    FindHandle search(folder + "\\*.*", found);
    for (bool more = search.IsOpen(); more; more = FindNextFileA(search.Get(), &found)) {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) &&
            !SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
            OutputDebugStringA("SetFileAttributes failed");
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A link to a folder elsewhere goes as a link: what it points to
            // is not this folder's to delete.
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                if (!RemoveDirectoryA(path.c_str())) return false;
                continue;
            }
            if (!DeleteFolderTree(path)) return false;
        } else if (!DeleteFileA(path.c_str())) {
            OutputDebugStringA("DeleteFile failed");
            return false;
        }
    }
    search.Close();
    if (!RemoveDirectoryA(folder.c_str())) {
        OutputDebugStringA("RemoveDirectory failed");
        return false;
    }
    return true;
}

bool AskToDeleteFolder(const std::string& folder) {
    return MessageBoxA(nullptr, folder.c_str(), "Delete this folder and all its contents?",
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

namespace {

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void OfferFolderRemoval(const std::string& folder) {
    if (IsFolder(folder) && AskToDeleteFolder(folder)) DeleteFolderTree(folder);
}

}  // namespace

void OfferStartupFolderRemoval() {
    std::string system;
    if (!RegKey(HKEY_LOCAL_MACHINE, kSetupKey).ReadString("SystemNameString", system, 260)) system = "Orvanta";
    const std::string programs = ProgramsFolder();
    // A system name that is a path would lead the deletion elsewhere, and a
    // blank one to the user's own Startup folder ("Startup " is "Startup").
    if (!IsFullFolderPath(programs) || !IsPlainName(system)) return;
    OfferFolderRemoval(JoinPath(programs, "Startup " + system));
}

void OfferTaskFolderRemoval() {
    const std::string install = ReadRegistryString(HKEY_LOCAL_MACHINE, kProductKey, "Install Directory", 260);
    // Without a full installation folder the names would point anywhere.
    if (!IsFullFolderPath(install)) return;
    for (int station = 1; station <= 8; ++station) {
        const std::string number = std::to_string(station);
        OfferFolderRemoval(JoinPath(install, "Station" + number + "Tasks"));
        DeleteIfPresent(JoinPath(install, "Station" + number + "TaskLog.txt"));
    }
}
