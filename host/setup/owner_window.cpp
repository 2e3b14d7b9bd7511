#include "owner_window.h"

#include "platform.h"
#include "product.h"

namespace setup {

namespace {

const char kClassName[] = "OrvantaSetupWindow";

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Setup is not ended by closing its window while a step runs; the steps
    // end it.
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterOnce() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

OwnerWindow::~OwnerWindow() {
    if (window_) DestroyWindow(window_);
}

bool OwnerWindow::Create(std::string& error) {
    if (!RegisterOnce()) {
        error = "cannot register the setup window's class: " + ErrorText(GetLastError());
        return false;
    }
    window_ = CreateWindowExA(0, kClassName, kSetupCaption, WS_OVERLAPPEDWINDOW, 40, 40, 480, 320, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (!window_) {
        error = "cannot create the setup window: " + ErrorText(GetLastError());
        return false;
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    // Done with what creation queued: the window is drawn, and a test that
    // waits for setup to become idle stops waiting.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

}  // namespace setup
