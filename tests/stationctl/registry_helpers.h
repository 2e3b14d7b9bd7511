// Small registry reads and writes for the tests' own checks, independent of
// the code under test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry_values.h"

struct RawValue {
    DWORD type = 0;
    std::vector<uint8_t> bytes;
};

inline std::optional<RawValue> ReadRaw(HKEY root, const std::string& path, const std::string& name) {
    const test_support::StoredValue stored = test_support::ReadValue(root, path, name.c_str());
    if (!stored.present) return std::nullopt;
    RawValue value;
    value.type = stored.type;
    value.bytes.assign(stored.bytes.begin(), stored.bytes.end());
    return value;
}

// A REG_SZ value without its terminator; nothing when absent or of another
// type.
inline std::optional<std::string> ReadText(HKEY root, const std::string& path, const std::string& name) {
    auto value = ReadRaw(root, path, name);
    if (!value || value->type != REG_SZ) return std::nullopt;
    std::string text(value->bytes.begin(), value->bytes.end());
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

using test_support::KeyExists;

inline std::vector<std::string> Subkeys(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

inline void WriteText(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

inline void WriteBinary(HKEY root, const std::string& path, const std::string& name, std::vector<uint8_t> bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

inline void CreateKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}
