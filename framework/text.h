// Small text operations the way the programs' texts need them: the system's
// case mapping and white space trimmed at both ends.
#pragma once

#include <windows.h>

#include <cctype>
#include <string>

// Lower case as Windows makes it, in the host's code page (accented letters
// too), whatever the C library's locale.
inline std::string AfxLowerCase(std::string text) {
    if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

inline std::string AfxTrim(const std::string& text) {
    auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    size_t first = 0, end = text.size();
    while (first < end && space(text[first])) ++first;
    while (end > first && space(text[end - 1])) --end;
    return text.substr(first, end - first);
}
