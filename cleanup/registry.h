// The registry as the steps use it: keys opened with full access and
// closed by their owner, strings read into buffers of the sizes the
// product's records have.
#pragma once

#include <windows.h>

#include <string>

class RegKey {
public:
    RegKey(HKEY parent, const std::string& path, bool create = false);
    ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

    // A string of at most limit bytes with its terminator; false when it is
    // missing or longer.
    bool ReadString(const char* name, std::string& value, DWORD limit = 512) const;
    // Up to four bytes as a little-endian number.
    bool ReadNumber(const char* name, DWORD& value) const;
    void WriteString(const char* name, const std::string& value) const;
    void WriteNumber(const char* name, DWORD value) const;

private:
    HKEY key_ = nullptr;
};

// A string value of a key; empty when the key or the value is missing.
std::string ReadRegistryString(HKEY root, const std::string& path, const char* name, DWORD limit = 512);
