// The registry as the steps use it: keys opened with full access and
// closed by their owner, strings read into buffers of the sizes the
// product's records have.
#pragma once

#include <windows.h>

#include <string>

class RegKey {
public:
    RegKey() = default;
    RegKey(HKEY parent, const std::string& path, bool create = false);
    ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Open an existing key, or open it creating what is missing; a key held
    // before is closed first.
    bool Open(HKEY parent, const std::string& path);
    bool Create(HKEY parent, const std::string& path);
    void Close();
    bool IsOpen() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }
    bool Has(const char* name) const;

    // A string of at most limit bytes, up to its first zero; false when it is
    // missing or longer. A string stored without its zero is read whole.
    bool ReadString(const char* name, std::string& value, DWORD limit = 512) const;
    // Up to four bytes as a little-endian number.
    bool ReadNumber(const char* name, DWORD& value) const;
    // A value of exactly one byte, as the product keeps its flags.
    bool ReadByte(const char* name, BYTE& value) const;
    // Each write and deletion says whether it worked; deleting a value that is
    // not there works.
    bool WriteString(const char* name, const std::string& value) const;
    bool WriteNumber(const char* name, DWORD value) const;
    bool WriteBytes(const char* name, const void* data, DWORD size) const;
    bool WriteByte(const char* name, BYTE value) const { return WriteBytes(name, &value, 1); }
    bool DeleteValue(const char* name) const;

private:
    HKEY key_ = nullptr;
};

// The name of the subkey at the index; false once the listing ends. A name
// longer than limit - 1 characters comes back empty: every walk passes over
// it and goes on, so that no key after it is missed (no key of the
// product's has such a name).
bool SubkeyAt(HKEY key, DWORD index, std::string& name, DWORD limit = 256);

// The subkeys of a key in index order, those with names too long for the
// limit passed over; stops when visit answers true.
template <typename Visit>
void ForEachSubkey(HKEY key, Visit visit, DWORD limit = 256) {
    std::string name;
    for (DWORD index = 0; SubkeyAt(key, index, name, limit); ++index) {
        if (!name.empty() && visit(name)) return;
    }
}

// Deletes the key with all its subkeys, as Windows 9x's RegDeleteKey does
// (NT's refuses a key that has subkeys, and Windows 95/98 have no
// RegDeleteTree). The result is the registry's error code: ERROR_SUCCESS, or
// ERROR_FILE_NOT_FOUND for a missing key. An empty path names no key and
// deletes nothing.
LONG DeleteKeyTree(HKEY parent, const std::string& path);

// A string value of a key; empty when the key or the value is missing.
std::string ReadRegistryString(HKEY root, const std::string& path, const char* name, DWORD limit = 512);
