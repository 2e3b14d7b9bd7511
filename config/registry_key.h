// The one way the control center reads and writes the registry: a key that
// answers every operation with 1 or 0 and never raises. Small numbers are
// stored as binary values of one byte, addresses and sizes as binary values
// of four bytes (never the registry's double-word type), texts as strings
// of at most 511 characters.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens an existing key with full access; the enumeration starts over.
    int Open(HKEY parent, const char* path);
    // Opens the key, creating it and any missing parents.
    int Create(HKEY parent, const char* path);
    // 1 when an open key was closed; the object is closed afterwards.
    int Close();

    // A one-byte value, zero-extended; a missing or longer value fails and
    // leaves the target as it was.
    int QueryByte(const char* name, uint32_t& value);
    // Up to four bytes, little-endian; a longer value fails.
    int QueryDword(const char* name, uint32_t& value);
    // A text of at most 511 characters (512 bytes with the terminator).
    int QueryString(const char* name, std::string& value);

    int SetByte(const char* name, uint32_t value);
    int SetDword(const char* name, uint32_t value);
    // Texts longer than 511 characters are cut to 511.
    int SetString(const char* name, const std::string& value);
    int SetBinary(const char* name, const void* data, DWORD length);

    // The next subkey's name; at the end (or on any failure) the name is
    // emptied, the enumeration starts over and the result is 0.
    int NextSubkey(std::string& name);

    HKEY Handle() const { return handle_; }

private:
    HKEY handle_ = nullptr;
    DWORD enumIndex_ = 0;
};

// Deletes the key with all its subkeys, as Windows 9x does.
int DeleteSubkey(HKEY parent, const char* path);
// Writes HKEY_LOCAL_MACHINE to disk.
int FlushMachine();
// Writes the current user's, the machine's and every user's hive to disk, in
// that order, so what other programs wrote is there before a command reads
// it (or before the system goes down).
void FlushHives();
