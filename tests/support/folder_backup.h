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

}  // namespace test_support
