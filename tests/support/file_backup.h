// Keeps a file's bytes and attributes while a suite changes it and puts it
// back as it was (or removes it when it did not exist), so that suites
// sharing the test host leave its boot and initialization files alone.
#pragma once

#include <windows.h>

#include <string>

namespace test_support {

class FileBackup {
public:
    explicit FileBackup(std::string path);
    ~FileBackup();
    FileBackup(const FileBackup&) = delete;
    FileBackup& operator=(const FileBackup&) = delete;

    bool Existed() const { return existed_; }
    const std::string& Original() const { return bytes_; }

private:
    std::string path_;
    std::string bytes_;
    DWORD attributes_ = INVALID_FILE_ATTRIBUTES;
    bool existed_ = false;
};

// A file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Replaces the file's bytes, making a read-only, hidden or system file a
// plain one first.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

}  // namespace test_support
