#include "flush_settings.h"

#include <windows.h>

void FlushSettings() {
    // A profile write with nothing to write flushes the cached file.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "System.ini");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Win.ini");
    RegFlushKey(HKEY_USERS);
    RegFlushKey(HKEY_LOCAL_MACHINE);
}
