// Keeps a copy of a registry key while a test changes it, and puts the key
// back as it was: the suites share one test host.
#pragma once

#include <windows.h>

#include <string>

class KeySnapshot {
public:
    KeySnapshot(HKEY root, std::string path);
    ~KeySnapshot();
    KeySnapshot(const KeySnapshot&) = delete;
    KeySnapshot& operator=(const KeySnapshot&) = delete;

private:
    HKEY root_;
    std::string path_;
    std::string copy_;  // under HKLM, one per snapshot, so several can live at once
    bool existed_ = false;
};
