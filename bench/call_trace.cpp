#include "call_trace.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "import_table.h"

namespace bench {

namespace {

std::vector<std::string>* lines = nullptr;
// What each open handle names, so a line says which key a value belongs to
// and the two sides of a comparison match although their handles differ.
std::map<HKEY, std::string> keyNames;

decltype(&RegOpenKeyExA) realOpenKeyEx = nullptr;
decltype(&RegCreateKeyA) realCreateKey = nullptr;
decltype(&RegCloseKey) realCloseKey = nullptr;
decltype(&RegQueryValueExA) realQueryValueEx = nullptr;
decltype(&RegSetValueExA) realSetValueEx = nullptr;
decltype(&RegEnumKeyA) realEnumKey = nullptr;
decltype(&RegDeleteTreeA) realDeleteTree = nullptr;
decltype(&RegFlushKey) realFlushKey = nullptr;
decltype(&WriteProfileStringA) realWriteProfileString = nullptr;

std::string KeyName(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) return "HKLM";
    if (key == HKEY_CURRENT_USER) return "HKCU";
    auto found = keyNames.find(key);
    return found != keyNames.end() ? found->second : "<unknown key>";
}

std::string Quoted(const char* text) {
    return text ? '"' + std::string(text) + '"' : std::string("null");
}

std::string Hex(const void* data, DWORD length) {
    std::string text;
    const auto* bytes = static_cast<const BYTE*>(data);
    char two[4];
    for (DWORD i = 0; data && i < length; ++i) {
        std::snprintf(two, sizeof two, "%02X", bytes[i]);
        text += two;
    }
    return text;
}

void Record(std::string line, LONG status) {
    lines->push_back(std::move(line) + " -> " + std::to_string(status));
}

LONG WINAPI TracedOpenKeyEx(HKEY parent, LPCSTR path, DWORD options, REGSAM access, PHKEY result) {
    LONG status = realOpenKeyEx(parent, path, options, access, result);
    std::string name = KeyName(parent) + "\\" + (path ? path : "");
    if (status == ERROR_SUCCESS) keyNames[*result] = name;
    char rest[64];
    std::snprintf(rest, sizeof rest, " options %lu access 0x%lX", options, access);
    Record("RegOpenKeyExA " + Quoted(name.c_str()) + rest, status);
    return status;
}

LONG WINAPI TracedCreateKey(HKEY parent, LPCSTR path, PHKEY result) {
    LONG status = realCreateKey(parent, path, result);
    std::string name = KeyName(parent) + "\\" + (path ? path : "");
    if (status == ERROR_SUCCESS) keyNames[*result] = name;
    Record("RegCreateKeyA " + Quoted(name.c_str()), status);
    return status;
}

LONG WINAPI TracedCloseKey(HKEY key) {
    std::string name = KeyName(key);
    LONG status = realCloseKey(key);
    keyNames.erase(key);
    Record("RegCloseKey " + Quoted(name.c_str()), status);
    return status;
}

LONG WINAPI TracedQueryValueEx(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    DWORD offered = size ? *size : 0;
    LONG status = realQueryValueEx(key, name, reserved, type, data, size);
    char rest[96];
    std::snprintf(rest, sizeof rest, " buffer %lu%s%s returned %lu ", offered, type ? " +type" : "",
                  reserved ? " +reserved" : "", size ? *size : 0);
    std::string got = status == ERROR_SUCCESS && size ? Hex(data, *size < offered ? *size : offered) : "";
    Record("RegQueryValueExA " + Quoted(KeyName(key).c_str()) + " " + Quoted(name) + rest + got, status);
    return status;
}

LONG WINAPI TracedSetValueEx(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    LONG status = realSetValueEx(key, name, reserved, type, data, size);
    char rest[64];
    std::snprintf(rest, sizeof rest, " reserved %lu type %lu length %lu ", reserved, type, size);
    Record("RegSetValueExA " + Quoted(KeyName(key).c_str()) + " " + Quoted(name) + rest + Hex(data, size), status);
    return status;
}

LONG WINAPI TracedEnumKey(HKEY key, DWORD index, LPSTR name, DWORD size) {
    LONG status = realEnumKey(key, index, name, size);
    char rest[64];
    std::snprintf(rest, sizeof rest, " index %lu buffer %lu ", index, size);
    Record("RegEnumKeyA " + Quoted(KeyName(key).c_str()) + rest + (status == ERROR_SUCCESS ? Quoted(name) : ""),
           status);
    return status;
}

LONG WINAPI TracedDeleteTree(HKEY parent, LPCSTR path) {
    LONG status = realDeleteTree(parent, path);
    Record("RegDeleteTreeA " + Quoted(KeyName(parent).c_str()) + " " + Quoted(path), status);
    return status;
}

LONG WINAPI TracedFlushKey(HKEY key) {
    LONG status = realFlushKey(key);
    Record("RegFlushKey " + Quoted(KeyName(key).c_str()), status);
    return status;
}

BOOL WINAPI TracedWriteProfileString(LPCSTR section, LPCSTR name, LPCSTR value) {
    BOOL done = realWriteProfileString(section, name, value);
    Record("WriteProfileStringA " + Quoted(section) + " " + Quoted(name) + " " + Quoted(value), done ? 1 : 0);
    return done;
}

#define REDIRECT(function, real, traced)                                         \
    {                                                                            \
#function, reinterpret_cast < void**>(&real),                            \
            reinterpret_cast < void*>(static_cast <decltype(&function)>(traced)) \
    }

const imports::Redirection redirections[] = {
    REDIRECT(RegOpenKeyExA, realOpenKeyEx, TracedOpenKeyEx),
    REDIRECT(RegCreateKeyA, realCreateKey, TracedCreateKey),
    REDIRECT(RegCloseKey, realCloseKey, TracedCloseKey),
    REDIRECT(RegQueryValueExA, realQueryValueEx, TracedQueryValueEx),
    REDIRECT(RegSetValueExA, realSetValueEx, TracedSetValueEx),
    REDIRECT(RegEnumKeyA, realEnumKey, TracedEnumKey),
    REDIRECT(RegDeleteTreeA, realDeleteTree, TracedDeleteTree),
    REDIRECT(RegFlushKey, realFlushKey, TracedFlushKey),
    REDIRECT(WriteProfileStringA, realWriteProfileString, TracedWriteProfileString),
};
constexpr int kRedirectionCount = sizeof redirections / sizeof redirections[0];

}  // namespace

bool CallTrace::Start() {
    if (lines) return false;
    lines = new std::vector<std::string>;
    keyNames.clear();
    // Every function the store calls must be caught, or a call would go
    // unseen; a program that does not import one of them has it linked in a
    // way this does not understand.
    if (imports::RedirectImports(redirections, kRedirectionCount, true) != kRedirectionCount) {
        Stop();
        return false;
    }
    return true;
}

std::vector<std::string> CallTrace::Stop() {
    if (!lines) return {};
    imports::RedirectImports(redirections, kRedirectionCount, false);
    std::vector<std::string> recorded = std::move(*lines);
    delete lines;
    lines = nullptr;
    keyNames.clear();
    return recorded;
}

}  // namespace bench
