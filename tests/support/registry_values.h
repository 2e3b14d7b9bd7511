// Registry values as the suites put them in place and read them back: raw
// types and bytes, so a test sees exactly what a program stored.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

namespace test_support {

void PutValue(HKEY root, const std::string& path, const char* name, DWORD type, const std::string& bytes);
// A string with its terminator.
void PutText(HKEY root, const std::string& path, const char* name, const std::string& text);
// A 32-bit number of the registry's double-word type.
void PutNumber(HKEY root, const std::string& path, const char* name, DWORD number);
bool DeleteValue(HKEY root, const std::string& path, const char* name);

struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::string bytes;
};
StoredValue ReadValue(HKEY root, const std::string& path, const char* name);
// A string value without its terminator; "(none)" when it is missing.
std::string ReadText(HKEY root, const std::string& path, const char* name);
bool KeyExists(HKEY root, const std::string& path);
// A key of HKEY_LOCAL_MACHINE.
inline bool KeyExists(const std::string& path) {
    return KeyExists(HKEY_LOCAL_MACHINE, path);
}

// Every value of the key and its subkeys, by "subkey path|value name"
// (the path from the given key on), with its type and bytes.
using ValueMap = std::map<std::string, std::pair<DWORD, std::string>>;
ValueMap AllValues(HKEY root, const std::string& path);
// Every key and value below a key as text, for comparing before and after:
// unlike AllValues it also shows keys without values.
std::string DumpKeyTree(HKEY root, const std::string& path);

// One value kept and put back, where the whole key is too large to copy.
class ValueBackup {
public:
    ValueBackup(HKEY root, std::string path, std::string name);
    ~ValueBackup();
    ValueBackup(const ValueBackup&) = delete;
    ValueBackup& operator=(const ValueBackup&) = delete;

private:
    HKEY root_;
    std::string path_, name_;
    StoredValue value_;
};

}  // namespace test_support
