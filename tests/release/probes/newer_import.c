/* Imports a function that Windows 95/98 lack: the release check must refuse it. */
#include <windows.h>

__declspec(dllimport) ULONGLONG WINAPI GetTickCount64(void);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line, int show) {
    (void)instance, (void)previous, (void)line, (void)show;
    return (int)GetTickCount64();
}
