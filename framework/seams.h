// The three places where a test takes the program's place: message boxes,
// modal runs and time. Each is one indirection whose default is the real
// Win32 call.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Every message box of the program passes through here.
using MessageBoxHandler =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT style)>;
int AfxShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style);
// Installs a replacement (for instance a scripted answerer); an empty
// handler restores the real message box. Returns the previous handler.
MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler);

// Called once a modal dialog or property sheet is initialised, with its
// window; a test operator works the real controls and ends the run.
using ModalOperator = std::function<void(HWND dialog)>;
void AfxSetModalOperator(ModalOperator modalOperator);
// The framework calls this from each modal run after initialisation.
void AfxRunModalOperator(HWND dialog);

// Waiting and the tick count.
struct Clock {
    virtual ~Clock() = default;
    virtual void Sleep(DWORD milliseconds) = 0;
    virtual DWORD TickCount() = 0;
};
void AfxSleep(DWORD milliseconds);
DWORD AfxGetTickCount();
// Installs a clock (a test clock that advances instead of waiting); null
// restores the system's. Returns the previous one.
Clock* AfxSetClock(Clock* clock);
