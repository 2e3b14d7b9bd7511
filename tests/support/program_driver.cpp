#include "program_driver.h"

namespace test_support {

namespace {

// A file for a program's output that the program inherits; the test reads
// it by name while the program still writes.
HANDLE CreateOutputFile(std::string& name) {
    char folder[MAX_PATH] = {};
    char file[MAX_PATH] = {};
    if (!GetTempPathA(sizeof folder, folder) || !GetTempFileNameA(folder, "out", 0, file)) return INVALID_HANDLE_VALUE;
    name = file;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

Program::Program(const std::string& path, const std::string& arguments, const std::string& workingFolder,
                 bool captureOutput) {
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    HANDLE output = INVALID_HANDLE_VALUE;
    if (captureOutput) {
        output = CreateOutputFile(outputFile_);
        if (output == INVALID_HANDLE_VALUE) return;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, captureOutput ? TRUE : FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process_))
        process_ = {};
    // The program holds its own copy now.
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
    // Let the program get to its first window before anyone looks.
    if (process_.hProcess) WaitForInputIdle(process_.hProcess, 5000);
}

Program::~Program() {
    if (process_.hProcess) {
        if (Running()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    if (!outputFile_.empty()) DeleteFileA(outputFile_.c_str());
}

bool Program::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
    if (!process_.hProcess) return true;
    if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

bool Program::Running() {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::string Program::Output() const {
    if (outputFile_.empty()) return {};
    HANDLE file = CreateFileA(outputFile_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read != 0) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

namespace {

struct VisibleWindows {
    DWORD process;
    std::vector<HWND> found;
};

// A callback of the system's calling convention, which a lambda is not on
// i686.
BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<VisibleWindows*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    VisibleWindows search = {processId, {}};
    EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Program::Windows() {
    return VisibleWindowsOf(process_.dwProcessId);
}

HWND Program::WaitForWindow(const std::function<bool(HWND)>& match, DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : Windows()) {
            if (match(window)) return window;
        }
        if (GetTickCount() - start > milliseconds || !Running()) return nullptr;
        Sleep(50);
    }
}

HWND Program::WaitForWindowOfClass(const char* className, DWORD milliseconds) {
    return WaitForWindow([className](HWND window) { return ClassName(window) == className; }, milliseconds);
}

std::vector<HWND> Program::WindowsOfClass(const char* className) {
    std::vector<HWND> found;
    for (HWND window : Windows()) {
        if (ClassName(window) == className) found.push_back(window);
    }
    return found;
}

HWND Program::WaitForMessageBox(DWORD milliseconds) {
    return WaitForWindow(
        [](HWND window) { return ClassName(window) == "#32770" && GetDlgItem(window, 0xFFFF) != nullptr; },
        milliseconds);
}

std::string WindowText(HWND window) {
    char text[8192] = {};
    // WM_GETTEXT reaches windows of other processes with their text.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string MessageBoxText(HWND box) {
    return WindowText(GetDlgItem(box, 0xFFFF));
}

bool MessageBoxHasIcon(HWND box) {
    // Windows numbers the icon item 0x14, Wine 0x440.
    for (int id : {0x0014, 0x0440}) {
        HWND icon = GetDlgItem(box, id);
        if (icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0) return true;
    }
    return false;
}

void PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Click(HWND dialog, int id) {
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}

std::string ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/"));
}

}  // namespace test_support
