// What the setup engine and the uninstaller call, by these plain names and
// with the Windows API calling convention. The setup hooks answer with a
// one-byte boolean.
#pragma once

#include <windows.h>

extern "C" {

// Before the welcome screen. False: setup must stop (it runs at a station).
__declspec(dllexport) bool WINAPI
    IS51_CleanupBeforeWelcomeMessage(HWND owner, const char* caption, const char* message, int productType);
// Before the product files are copied; always true.
__declspec(dllexport) bool WINAPI
    IS51_CleanupBeforeDataMove(HWND unused, const char* snapshotDir, const char* oldInstallDir, const char* unused2,
                               const char* unused3, int productType);
// Once the files are in place; always true.
__declspec(dllexport) bool WINAPI
    IS51_CleanupBeforeSetupComplete(const char* snapshotDir, const char* installDir, int productType);
// Before the uninstaller removes anything: -1 stops it, 0 lets it go on.
__declspec(dllexport) LONG WINAPI UninstInitialize(HWND owner, HINSTANCE unused, LONG unused2);
// At the uninstaller's end; nothing left to do.
__declspec(dllexport) LONG WINAPI UninstUnInitialize(HWND unused, HINSTANCE unused2, LONG unused3);
}
