#include "registry_key.h"

#include <cstring>

namespace {

// Names and texts travel through buffers of this size; a text holds at most
// one byte less, for its terminator.
constexpr DWORD kBufferSize = 512;
constexpr DWORD kLongestText = kBufferSize - 1;

bool Succeeded(LONG status) {
    return status == ERROR_SUCCESS;
}

// Callers close before they reopen. When one does not, the old handle is
// closed after the new key was opened (the new path may name a subkey of the
// old one), so no handle is lost; after a failure the object is closed.
void ReplaceHandle(HKEY& handle, HKEY opened) {
    if (handle) RegCloseKey(handle);
    handle = opened;
}

}  // namespace

RegistryKey::~RegistryKey() {
    if (handle_) RegCloseKey(handle_);
}

int RegistryKey::Open(HKEY parent, const char* path) {
    enumIndex_ = 0;
    HKEY opened = nullptr;
    if (!Succeeded(RegOpenKeyExA(parent, path ? path : "", 0, KEY_ALL_ACCESS, &opened))) opened = nullptr;
    ReplaceHandle(handle_, opened);
    return handle_ ? 1 : 0;
}

int RegistryKey::Create(HKEY parent, const char* path) {
    enumIndex_ = 0;
    HKEY opened = nullptr;
    if (!path || !*path) {
        // Without a path RegCreateKeyA hands back the parent handle itself,
        // which this object would then close; a handle of its own instead.
        if (!Succeeded(RegOpenKeyExA(parent, "", 0, KEY_ALL_ACCESS, &opened))) opened = nullptr;
    } else if (!Succeeded(RegCreateKeyA(parent, path, &opened))) {
        opened = nullptr;
    }
    ReplaceHandle(handle_, opened);
    return handle_ ? 1 : 0;
}

int RegistryKey::Close() {
    enumIndex_ = 0;
    if (!handle_) return 0;
    LONG status = RegCloseKey(handle_);
    handle_ = nullptr;
    return Succeeded(status) ? 1 : 0;
}

int RegistryKey::QueryByte(const char* name, uint32_t& value) {
    if (!handle_) return 0;
    BYTE byte = 0;
    DWORD size = sizeof byte;
    // Any type will do; a value longer than the buffer is refused, so a
    // number stored in four bytes by another tool does not read as a byte.
    if (!Succeeded(RegQueryValueExA(handle_, name, nullptr, nullptr, &byte, &size))) return 0;
    value = byte;
    return 1;
}

int RegistryKey::QueryDword(const char* name, uint32_t& value) {
    if (!handle_) return 0;
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (!Succeeded(RegQueryValueExA(handle_, name, nullptr, nullptr, bytes, &size))) return 0;
    // Little-endian; a shorter value leaves its high bytes zero.
    value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
            static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return 1;
}

int RegistryKey::QueryString(const char* name, std::string& value) {
    if (!handle_) return 0;
    char buffer[kBufferSize] = {};
    DWORD size = kBufferSize;
    if (!Succeeded(RegQueryValueExA(handle_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size))) return 0;
    // A value that fills the buffer without a terminator still ends at it.
    value.assign(buffer, strnlen(buffer, kBufferSize));
    return 1;
}

int RegistryKey::SetByte(const char* name, uint32_t value) {
    BYTE byte = static_cast<BYTE>(value & 0xFF);
    return SetBinary(name, &byte, sizeof byte);
}

int RegistryKey::SetDword(const char* name, uint32_t value) {
    // Binary, not REG_DWORD: the setup library and the station side read
    // these values as four raw bytes.
    BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                     static_cast<BYTE>(value >> 24)};
    return SetBinary(name, bytes, sizeof bytes);
}

int RegistryKey::SetString(const char* name, const std::string& value) {
    if (!handle_) return 0;
    // The text ends at its first zero byte, as it would in a C string, and
    // is cut to what a reader's buffer can hold.
    char buffer[kBufferSize] = {};
    size_t length = strnlen(value.c_str(), kLongestText);
    std::memcpy(buffer, value.c_str(), length);
    return Succeeded(RegSetValueExA(handle_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(buffer),
                                    static_cast<DWORD>(length + 1)))
               ? 1
               : 0;
}

int RegistryKey::SetBinary(const char* name, const void* data, DWORD length) {
    if (!handle_) return 0;
    if (!data && length != 0) return 0;
    return Succeeded(RegSetValueExA(handle_, name, 0, REG_BINARY, static_cast<const BYTE*>(data), length)) ? 1 : 0;
}

int RegistryKey::NextSubkey(std::string& name) {
    char buffer[kBufferSize] = {};
    LONG status = handle_ ? RegEnumKeyA(handle_, enumIndex_, buffer, kLongestText) : ERROR_INVALID_HANDLE;
    ++enumIndex_;
    if (!Succeeded(status)) {
        name.clear();
        enumIndex_ = 0;
        return 0;
    }
    name.assign(buffer, strnlen(buffer, kBufferSize));
    return 1;
}

namespace {

// Windows 9x's RegDeleteKeyA deletes a key with everything below it; NT's
// refuses a key that has subkeys, and Windows 95/98 have no RegDeleteTree.
// So the subkeys go first, depth first; one that cannot go is passed over
// and the key's own deletion then reports the failure.
bool DeleteKeyWithSubkeys(HKEY parent, const char* path) {
    {
        RegistryKey key;
        if (!key.Open(parent, path)) return false;
        char name[kBufferSize];
        for (DWORD index = 0; Succeeded(RegEnumKeyA(key.Handle(), index, name, sizeof name));) {
            if (!DeleteKeyWithSubkeys(key.Handle(), name)) ++index;
        }
    }
    return Succeeded(RegDeleteKeyA(parent, path));
}

}  // namespace

int DeleteSubkey(HKEY parent, const char* path) {
    // Without a path the tree below the parent itself would go.
    if (!path || !*path) return 0;
    return DeleteKeyWithSubkeys(parent, path) ? 1 : 0;
}

void FlushHives() {
    RegFlushKey(HKEY_CURRENT_USER);
    RegFlushKey(HKEY_LOCAL_MACHINE);
    RegFlushKey(HKEY_USERS);
}

int FlushMachine() {
    return Succeeded(RegFlushKey(HKEY_LOCAL_MACHINE)) ? 1 : 0;
}
