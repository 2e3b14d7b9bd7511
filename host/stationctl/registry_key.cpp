#include "registry_key.h"

#include <algorithm>

namespace stationctl {

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = other.key_;
        other.key_ = nullptr;
    }
    return *this;
}

LONG RegKey::Open(HKEY root, const std::string& path, REGSAM access) {
    Close();
    HKEY key = nullptr;
    LONG error = RegOpenKeyExA(root, path.c_str(), 0, access, &key);
    if (error == ERROR_SUCCESS) key_ = key;
    return error;
}

LONG RegKey::Create(HKEY root, const std::string& path) {
    Close();
    HKEY key = nullptr;
    LONG error = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                 nullptr);
    if (error == ERROR_SUCCESS) key_ = key;
    return error;
}

void RegKey::Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

LONG RegKey::SetString(const std::string& name, const std::string& value) {
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}

LONG RegKey::SetByte(const std::string& name, uint8_t value) {
    return RegSetValueExA(key_, name.c_str(), 0, REG_BINARY, &value, 1);
}

LONG RegKey::SetDword(const std::string& name, uint32_t value) {
    BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                     static_cast<BYTE>(value >> 24)};
    return RegSetValueExA(key_, name.c_str(), 0, REG_BINARY, bytes, sizeof bytes);
}

LONG RegKey::DeleteValue(const std::string& name) {
    LONG error = RegDeleteValueA(key_, name.c_str());
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

bool RegKey::HasValue(const std::string& name) const {
    return RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<std::string> RegKey::QueryString(const std::string& name) const {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::string text(size + 1, '\0');
    DWORD got = size;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(std::min<size_t>(got, text.size()));
    // The stored size counts the terminator, when the writer put one there.
    if (size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
    return text;
}

std::optional<uint32_t> RegKey::QueryNumber(const std::string& name) const {
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    // A value longer than four bytes is not a number the product stores.
    if (RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) return std::nullopt;
    uint32_t value = 0;
    for (DWORD i = 0; i < size; ++i) value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return value;
}

std::vector<std::string> RegKey::SubkeyNames(LONG& error) const {
    std::vector<std::string> names;
    error = ERROR_SUCCESS;
    for (DWORD index = 0;; ++index) {
        char name[256];  // the longest key name the registry allows is 255
        DWORD length = sizeof name;
        LONG result = RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS) {
            error = result;
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

LONG DeleteKeyTree(HKEY root, const std::string& path) {
    LONG error = RegDeleteTreeA(root, path.c_str());
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

std::string ErrorText(DWORD code) {
    char* buffer = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length && buffer ? std::string(buffer, length) : std::string();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    if (text.empty()) text = "error " + std::to_string(code);
    return text;
}

}  // namespace stationctl
