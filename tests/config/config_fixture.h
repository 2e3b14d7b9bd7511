// What the configuration suites share: the control center's resource
// library as the resource handle, keys and win.ini sections kept across a
// suite so the test host ends as it began, and plain Win32 reads and writes
// for the tests' own checks, independent of the code under test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host_folders.h"
#include "registry_backup.h"
#include "registry_values.h"
#include "resource_library_suite.h"
#include "resources.h"

namespace config_test {

// Loads ZELTO.DLL for the suite, as the control center does at start-up.
using ConfigSuite = test_support::ResourceLibrarySuite;

using test_support::KeyExists;

// Keeps a key for the span of a suite. When the key or its parents do not
// exist yet, the outermost missing parent is kept instead, so the parents
// that the tests create go again too.
class KeptKey {
public:
    KeptKey(HKEY root, const std::string& path)
        : backup_(std::make_unique<test_support::RegistryBackup>(root, test_support::KeyToKeep(root, path))) {}

private:
    std::unique_ptr<test_support::RegistryBackup> backup_;
};

struct Value {
    std::string name;
    DWORD type = 0;
    std::vector<uint8_t> bytes;
    bool operator==(const Value&) const = default;
};

inline void PrintTo(const Value& value, std::ostream* out) {
    *out << '"' << value.name << "\" type " << value.type << ":";
    for (uint8_t byte : value.bytes) {
        char hex[4];
        snprintf(hex, sizeof hex, " %02X", byte);
        *out << hex;
    }
}

// A string value as RegSetValueExA stores it: the text and its terminator.
inline Value Text(const std::string& name, const std::string& text) {
    Value value{name, REG_SZ, std::vector<uint8_t>(text.begin(), text.end())};
    value.bytes.push_back(0);
    return value;
}
inline Value Binary(const std::string& name, std::vector<uint8_t> bytes) {
    return Value{name, REG_BINARY, std::move(bytes)};
}

inline std::optional<Value> ReadValue(HKEY root, const std::string& path, const std::string& name) {
    const test_support::StoredValue stored = test_support::ReadValue(root, path, name.c_str());
    if (!stored.present) return std::nullopt;
    return Value{name, stored.type, std::vector<uint8_t>(stored.bytes.begin(), stored.bytes.end())};
}

// Every value of the key, as the registry lists them.
inline std::vector<Value> Values(HKEY root, const std::string& path) {
    std::vector<Value> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD index = 0;; ++index) {
        char name[256];
        BYTE data[1024];
        DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
        values.push_back(Value{std::string(name, nameLength), type, std::vector<uint8_t>(data, data + dataLength)});
    }
    RegCloseKey(key);
    return values;
}

inline void WriteValue(HKEY root, const std::string& path, const Value& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, value.name.c_str(), 0, value.type, value.bytes.data(), static_cast<DWORD>(value.bytes.size()));
    RegCloseKey(key);
}

inline void CreateKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

// Keeps a win.ini section for the span of a suite and writes it back, in
// its place in the file, at the end.
class KeptProfileSection {
public:
    explicit KeptProfileSection(std::string section) : section_(std::move(section)) {
        std::vector<char> buffer(32768);
        DWORD length = GetProfileSectionA(section_.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        // The entries end with two zero bytes.
        entries_.assign(buffer.data(), length + 1);
    }
    ~KeptProfileSection() {
        WriteProfileSectionA(section_.c_str(), entries_.c_str());
        WriteProfileStringA(nullptr, nullptr, nullptr);
    }
    KeptProfileSection(const KeptProfileSection&) = delete;
    KeptProfileSection& operator=(const KeptProfileSection&) = delete;

private:
    std::string section_;
    std::string entries_;
};

// The value of a win.ini entry as the profile functions see it; nothing
// when there is no such entry.
inline std::optional<std::string> ProfileEntry(const char* section, const std::string& name) {
    const char absent[] = "<absent>";
    char buffer[512];
    GetProfileStringA(section, name.c_str(), absent, buffer, sizeof buffer);
    if (std::string(buffer) == absent) return std::nullopt;
    return std::string(buffer);
}

// The lines of a section as they stand in C:\windows\win.ini on disk.
inline std::vector<std::string> WinIniSection(const std::string& section) {
    std::ifstream file(test_support::WindowsFile("win.ini"));
    std::vector<std::string> lines;
    bool inside = false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inside = _stricmp(line.c_str(), ("[" + section + "]").c_str()) == 0;
            continue;
        }
        if (inside && !line.empty()) lines.push_back(line);
    }
    return lines;
}

}  // namespace config_test
