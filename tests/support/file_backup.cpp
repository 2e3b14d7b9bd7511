#include "file_backup.h"

#include <fstream>
#include <iterator>

namespace test_support {

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    // A read-only file cannot be written, nor a hidden or system one replaced.
    const DWORD guarded = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & guarded))
        SetFileAttributesA(path.c_str(), (attributes & ~guarded) ? attributes & ~guarded : FILE_ATTRIBUTE_NORMAL);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FileBackup::FileBackup(std::string path) : path_(std::move(path)) {
    attributes_ = GetFileAttributesA(path_.c_str());
    existed_ = attributes_ != INVALID_FILE_ATTRIBUTES;
    if (existed_) bytes_ = ReadFileBytes(path_);
}

FileBackup::~FileBackup() {
    if (!existed_) {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_.c_str());
        return;
    }
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteFileBytes(path_, bytes_);
    SetFileAttributesA(path_.c_str(), attributes_);
}

}  // namespace test_support
