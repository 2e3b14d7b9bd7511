// The registry calls of later Windows versions that the test harness (the
// stand-ins and the tests) makes under Wine. The 32-bit tree builds at the
// Windows 95 API level, whose headers do not declare them; Wine's advapi32
// and the import library export them all the same. Never included by a
// deliverable: the build puts it ahead of the harness's sources only.
#pragma once

#if defined(__cplusplus) && defined(_WIN32_WINNT) && _WIN32_WINNT < 0x0600
#include <windows.h>

extern "C" {
WINADVAPI LONG WINAPI RegDeleteTreeA(HKEY key, LPCSTR subKey);
WINADVAPI LONG WINAPI RegCopyTreeA(HKEY source, LPCSTR subKey, HKEY destination);
WINADVAPI LONG WINAPI RegDeleteKeyValueA(HKEY key, LPCSTR subKey, LPCSTR valueName);
}
#endif
