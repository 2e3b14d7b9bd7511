#include "registry_values.h"

#include <algorithm>
#include <vector>

namespace test_support {

void PutValue(HKEY root, const std::string& path, const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void PutText(HKEY root, const std::string& path, const char* name, const std::string& text) {
    PutValue(root, path, name, REG_SZ, text + '\0');
}

void PutNumber(HKEY root, const std::string& path, const char* name, DWORD number) {
    PutValue(root, path, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
}

bool DeleteValue(HKEY root, const std::string& path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    bool deleted = RegDeleteValueA(key, name) == ERROR_SUCCESS;
    RegCloseKey(key);
    return deleted;
}

StoredValue ReadValue(HKEY root, const std::string& path, const char* name) {
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 1);
        if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            value.present = true;
            value.bytes.assign(data.data(), size);
        }
    }
    RegCloseKey(key);
    return value;
}

std::string ReadText(HKEY root, const std::string& path, const char* name) {
    StoredValue value = ReadValue(root, path, name);
    if (!value.present) return "(none)";
    return std::string(value.bytes.c_str());
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

namespace {

// Visits the key and its subkeys depth first: each key, then its values.
template <typename OnKey, typename OnValue>
void Walk(HKEY key, const std::string& path, OnKey onKey, OnValue onValue) {
    onKey(path);
    // Room for the longest value, so a long one does not end the walk early.
    DWORD longestData = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestData, nullptr,
                     nullptr);
    std::string data(std::max<DWORD>(longestData, 4096), '\0');
    for (DWORD index = 0;; ++index) {
        char name[1024];
        DWORD nameLength = sizeof name, dataLength = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &dataLength) != ERROR_SUCCESS)
            break;
        onValue(path, name, type, data.substr(0, dataLength));
    }
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY subkey = nullptr;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &subkey) != ERROR_SUCCESS) continue;
        Walk(subkey, path + "\\" + name, onKey, onValue);
        RegCloseKey(subkey);
    }
}

template <typename OnKey, typename OnValue>
bool WalkTree(HKEY root, const std::string& path, OnKey onKey, OnValue onValue) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    Walk(key, path, onKey, onValue);
    RegCloseKey(key);
    return true;
}

}  // namespace

ValueMap AllValues(HKEY root, const std::string& path) {
    ValueMap values;
    WalkTree(
        root, path, [](const std::string&) {},
        [&](const std::string& where, const char* name, DWORD type, const std::string& bytes) {
            values[where + "|" + name] = {type, bytes};
        });
    return values;
}

std::string DumpKeyTree(HKEY root, const std::string& path) {
    std::string out;
    bool found = WalkTree(
        root, path, [&](const std::string& where) { out += "[" + where + "]\n"; },
        [&](const std::string&, const char* name, DWORD type, const std::string& bytes) {
            out += std::string(name) + "=" + std::to_string(type) + ":" + bytes + "\n";
        });
    return found ? out : "(no " + path + ")\n";
}

ValueBackup::ValueBackup(HKEY root, std::string path, std::string name)
    : root_(root), path_(std::move(path)), name_(std::move(name)), value_(ReadValue(root_, path_, name_.c_str())) {}

ValueBackup::~ValueBackup() {
    if (value_.present)
        PutValue(root_, path_, name_.c_str(), value_.type, value_.bytes);
    else
        DeleteValue(root_, path_, name_.c_str());
}

}  // namespace test_support
