// Keeps a folder with everything in it (files' bytes and attributes, the
// folders below) while a test changes it, and puts it back as it was, or
// removes it when it did not exist.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_support {

class FolderBackup {
public:
    explicit FolderBackup(std::string path);
    ~FolderBackup();
    FolderBackup(const FolderBackup&) = delete;
    FolderBackup& operator=(const FolderBackup&) = delete;

private:
    struct Entry {
        std::string relative;  // below the folder; empty for the folder itself
        DWORD attributes;
        std::string bytes;  // files only
    };

    void Read(const std::string& relative);

    std::string path_;
    std::vector<Entry> entries_;  // each folder before what it holds
};

// Removes a folder with everything in it, read-only files too.
void RemoveFolder(const std::string& path);

// Makes a folder link to the target, as an NT host can have one: Wine shows
// a Unix symbolic link as such a link, and its CreateSymbolicLink makes none,
// so the host's ln makes it. False when it could not.
bool MakeFolderLink(const std::string& link, const std::string& target);
// Removes such a link, never what it shows (Wine's RemoveDirectory would
// remove the folder it shows, when that is empty).
void RemoveFolderLink(const std::string& link);

}  // namespace test_support
