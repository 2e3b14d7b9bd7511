#include "program_edition.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

bool IsZeltoEditionProgram(const std::string& programPath) {
    size_t start = programPath.find_last_of("\\/:");
    std::string name = programPath.substr(start == std::string::npos ? 0 : start + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    return name == "ZELTO";
}

bool RunsAsZeltoEdition() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH && IsZeltoEditionProgram(path);
}
