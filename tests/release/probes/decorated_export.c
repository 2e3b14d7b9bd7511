/* Exports a stdcall function under its decorated name (Name@4), which the
   setup engine would never find: the release check must refuse it. */
#include <windows.h>

__declspec(dllexport) int WINAPI ProbeExport(int value) {
    return value;
}
