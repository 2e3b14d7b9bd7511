// bare_window.exe: the least a Win32 program does to show a painted window,
// the yardstick for the control center's start-up. One class, one window,
// the home view's picture from ZELTO.DLL stretched over the client area, and
// a message loop. "--size WIDTH HEIGHT" gives the window's outer size (the
// start-up bench passes the control center's), otherwise it fits the picture.
//
// Built as bare_window_loaded.exe (BARE_WINDOW_LOADED), it also loads the
// system libraries the control center loads and, before its window, makes the
// configuration load's registry and profile calls directly: the same system
// work without the control center's own code.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#ifdef BARE_WINDOW_LOADED
#include <commctrl.h>
#include <shellapi.h>

#include "raw_config.h"
#endif

namespace {

HBITMAP picture = nullptr;

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (picture) {
        BITMAP info = {};
        GetObjectA(picture, sizeof info, &info);
        RECT client;
        GetClientRect(window, &client);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, picture);
        StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        // The picture covers the whole client area.
        if (picture) return TRUE;
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

#ifdef BARE_WINDOW_LOADED
// Referenced, so that the libraries are imported and loaded at the start as
// the control center's are; never called.
void* volatile importedLibraries[] = {reinterpret_cast<void*>(&InitCommonControls),
                                      reinterpret_cast<void*>(&ShellExecuteExA),
                                      reinterpret_cast<void*>(&GetFileVersionInfoSizeA)};
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifdef BARE_WINDOW_LOADED
    bench::RawConfig configuration;
    configuration.LoadAll();
#endif
    int width = 0, height = 0;
    for (int i = 1; i + 2 < __argc; ++i) {
        if (!std::strcmp(__argv[i], "--size")) {
            width = std::atoi(__argv[i + 1]);
            height = std::atoi(__argv[i + 2]);
        }
    }

    // A resource-only library: no code runs, only its pictures are used.
    HMODULE resources = LoadLibraryA("ZELTO.DLL");
    if (resources)
        picture = static_cast<HBITMAP>(LoadImageA(resources, "ZqBG", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "BareWindow";
    if (!RegisterClassA(&windowClass)) return 1;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    if (width <= 0 || height <= 0) {
        RECT outer = {0, 0, 480, 300};
        if (picture) {
            BITMAP info = {};
            GetObjectA(picture, sizeof info, &info);
            outer = {0, 0, info.bmWidth, info.bmHeight};
        }
        AdjustWindowRect(&outer, style, FALSE);
        width = outer.right - outer.left;
        height = outer.bottom - outer.top;
    }
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Bare window", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  width, height, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (picture) DeleteObject(picture);
    if (resources) FreeLibrary(resources);
    return 0;
}
