// Drives a built program from outside, as a user would: starts it, finds its
// windows and message boxes, reads their texts and presses their buttons.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace test_support {

class Program {
public:
    // Starts the program file with the arguments in the given working
    // folder (the program's own folder when empty). With captureOutput, what
    // a console program prints (standard output and error together) goes to
    // a file of its own, which Output() reads.
    Program(const std::string& path, const std::string& arguments, const std::string& workingFolder = "",
            bool captureOutput = false);
    ~Program();  // ends the program if it still runs
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    DWORD Id() const { return process_.dwProcessId; }
    // Waits for the end; false when it did not end in time.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr);
    bool Running();
    // What the program has printed so far (with captureOutput).
    std::string Output() const;

    // The program's visible top-level windows.
    std::vector<HWND> Windows();
    // Waits until a visible top-level window of the program matches.
    HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD milliseconds = 10000);
    HWND WaitForWindowOfClass(const char* className, DWORD milliseconds = 10000);
    std::vector<HWND> WindowsOfClass(const char* className);
    // A message box: a dialog of the system's dialog class with its text.
    HWND WaitForMessageBox(DWORD milliseconds = 10000);

private:
    PROCESS_INFORMATION process_ = {};
    std::string outputFile_;
};

// The visible top-level windows of a process.
std::vector<HWND> VisibleWindowsOf(DWORD processId);
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// The text of a message box (its static text item).
std::string MessageBoxText(HWND box);
// Whether the message box shows the given icon (MB_ICONSTOP and friends),
// judged by the icon its icon item holds.
bool MessageBoxHasIcon(HWND box);
// Presses a button of a dialog by its ID, as a click would.
void PressButton(HWND dialog, int id);
// Clicks a button of a dialog of this process; the dialog has acted on the
// click when it returns.
void Click(HWND dialog, int id);
// The text of a dialog's item, in this process or another.
std::string ItemText(HWND dialog, int id);
// The folder of the running test program (where the built programs lie).
std::string ProgramFolder();

}  // namespace test_support
