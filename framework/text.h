// Small text operations the way the programs' texts need them: single-byte
// case mapping and white space trimmed at both ends.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

inline std::string AfxLowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

inline std::string AfxTrim(const std::string& text) {
    auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    size_t first = 0, end = text.size();
    while (first < end && space(text[first])) ++first;
    while (end > first && space(text[end - 1])) --end;
    return text.substr(first, end - first);
}
