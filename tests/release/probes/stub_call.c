/* Calls a function that Windows 95/98 export only as a stub: the release
   check must refuse it in our own code. */
#include <windows.h>

HMODULE ProbeLoadWide(void) {
    return LoadLibraryW(L"probe.dll");
}
