#include "registry.h"

#include <vector>

RegKey::RegKey(HKEY parent, const std::string& path, bool create) {
    if (create)
        Create(parent, path);
    else
        Open(parent, path);
}

RegKey::~RegKey() {
    Close();
}

bool RegKey::Open(HKEY parent, const std::string& path) {
    Close();
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS) key_ = nullptr;
    return key_ != nullptr;
}

bool RegKey::Create(HKEY parent, const std::string& path) {
    Close();
    if (RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS)
        key_ = nullptr;
    return key_ != nullptr;
}

void RegKey::Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

bool RegKey::Has(const char* name) const {
    return key_ && RegQueryValueExA(key_, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegKey::ReadString(const char* name, std::string& value, DWORD limit) const {
    if (!key_) return false;
    std::vector<char> buffer(limit + 1, '\0');
    DWORD size = limit;
    if (RegQueryValueExA(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return false;
    value = buffer.data();
    return true;
}

bool RegKey::ReadNumber(const char* name, DWORD& value) const {
    if (!key_) return false;
    DWORD number = 0, size = sizeof number;
    if (RegQueryValueExA(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS)
        return false;
    value = number;
    return true;
}

bool RegKey::ReadByte(const char* name, BYTE& value) const {
    if (!key_) return false;
    BYTE byte = 0;
    DWORD size = sizeof byte;
    if (RegQueryValueExA(key_, name, nullptr, nullptr, &byte, &size) != ERROR_SUCCESS || size != sizeof byte)
        return false;
    value = byte;
    return true;
}

bool RegKey::WriteString(const char* name, const std::string& value) const {
    return key_ && RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegKey::WriteNumber(const char* name, DWORD value) const {
    return key_ && RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
                       ERROR_SUCCESS;
}

bool RegKey::WriteBytes(const char* name, const void* data, DWORD size) const {
    return key_ && RegSetValueExA(key_, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool RegKey::DeleteValue(const char* name) const {
    if (!key_) return false;
    const LONG status = RegDeleteValueA(key_, name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool SubkeyAt(HKEY key, DWORD index, std::string& name, DWORD limit) {
    std::vector<char> buffer(limit);
    DWORD length = limit;
    const LONG status = RegEnumKeyExA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) {
        name.clear();
        return true;
    }
    if (status != ERROR_SUCCESS) return false;
    name.assign(buffer.data(), length);
    return true;
}

LONG DeleteKeyTree(HKEY parent, const std::string& path) {
    if (path.empty()) return ERROR_INVALID_PARAMETER;
    {
        RegKey key(parent, path);
        if (!key.IsOpen()) return ERROR_FILE_NOT_FOUND;
        // Deleting shifts the listing down, so the same index is asked again;
        // a subkey that cannot go is passed over.
        std::string name;
        for (DWORD index = 0; SubkeyAt(key.Get(), index, name, 512);) {
            if (name.empty() || DeleteKeyTree(key.Get(), name) != ERROR_SUCCESS) ++index;
        }
    }
    return RegDeleteKeyA(parent, path.c_str());
}

std::string ReadRegistryString(HKEY root, const std::string& path, const char* name, DWORD limit) {
    std::string value;
    RegKey(root, path).ReadString(name, value, limit);
    return value;
}
