#include "version_info.h"

#include <windows.h>

#include <cstring>
#include <new>

std::string VersionReader::StringValue(const std::string& path, const char* name) {
    return FindString(path, name).value_or("");
}

std::optional<std::string> VersionReader::FindString(const std::string& path, const char* name) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    if (size > block_.size()) {
        try {
            block_.resize(size);
        } catch (const std::bad_alloc&) {
            return std::nullopt;
        }
    }
    std::fill(block_.begin(), block_.end(), 0);
    if (!GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block_.size()), block_.data())) return std::nullopt;
    for (const char* language : {"040904B0", "040904E4"}) {
        std::string key = std::string("\\StringFileInfo\\") + language + "\\" + name;
        char* value = nullptr;
        UINT length = 0;
        // An empty text is a text: the key answers.
        if (VerQueryValueA(block_.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) && value)
            return std::string(value, strnlen(value, length));
    }
    return std::nullopt;
}
