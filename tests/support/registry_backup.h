// Keeps a copy of a registry key while a suite changes it and puts the key
// back as it was, so the suites that share the test host leave it as they
// found it.
#pragma once

#include <windows.h>

#include <string>

namespace test_support {

class RegistryBackup {
public:
    RegistryBackup(HKEY root, std::string path);
    ~RegistryBackup();
    RegistryBackup(const RegistryBackup&) = delete;
    RegistryBackup& operator=(const RegistryBackup&) = delete;

private:
    HKEY root_;
    std::string path_;
    std::string copy_;
    bool existed_ = false;
};

// What to keep before a key is laid out: the key itself when its parents
// exist, else its outermost missing parent, so that the parents the layout
// creates go again too.
std::string KeyToKeep(HKEY root, const std::string& path);

}  // namespace test_support
