// An owned registry key, and the few operations the station side needs.
// Bytes and double words go in as binary values of one and four bytes, as
// the control center reads them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace stationctl {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept;

    // Both return the Win32 error code; the key is open only on success.
    LONG Open(HKEY root, const std::string& path, REGSAM access = KEY_READ);
    LONG Create(HKEY root, const std::string& path);
    void Close();

    bool IsOpen() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

    LONG SetString(const std::string& name, const std::string& value);
    LONG SetByte(const std::string& name, uint8_t value);
    LONG SetDword(const std::string& name, uint32_t value);  // little-endian binary
    // A value that does not exist counts as deleted.
    LONG DeleteValue(const std::string& name);

    bool HasValue(const std::string& name) const;
    std::optional<std::string> QueryString(const std::string& name) const;
    // Up to 4 bytes of any value type, little-endian, as the control center
    // widens them.
    std::optional<uint32_t> QueryNumber(const std::string& name) const;

    // Names of the direct subkeys; error receives the Win32 code of a failed
    // enumeration.
    std::vector<std::string> SubkeyNames(LONG& error) const;

private:
    HKEY key_ = nullptr;
};

// Deletes the key with all its subkeys, as Windows 9x deletes a key. Plain
// RegDeleteKeyA refuses keys that have subkeys on NT and under Wine. A key
// that does not exist counts as deleted.
LONG DeleteKeyTree(HKEY root, const std::string& path);

// The system's wording for a Win32 error code, on one line.
std::string ErrorText(DWORD code);

}  // namespace stationctl
