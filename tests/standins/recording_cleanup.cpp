// A stand-in for Cleanup.dll in setup.exe's tests: its five exports write
// what they were given, and what they found on disk and in the registry,
// one line per call to the file named by RECORDING_CLEANUP_LOG, and answer
// what the test asks for through the environment:
//   RECORDING_CLEANUP_WELCOME, _DATAMOVE, _COMPLETE   raw 32-bit results of the
//                                                     hooks (default 1)
//   RECORDING_CLEANUP_UNINIT, _UNUNINIT               results of the uninstall
//                                                     exports (default 0)
//   RECORDING_CLEANUP_ASK=1                           IS51_CleanupBeforeWelcomeMessage asks its
//                                                     message in a Yes/No box
//                                                     and answers Yes as true
// Fields are separated by tabs. Built a second time without two exports,
// as partial_cleanup.dll, for the engine's refusal of an incomplete library.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name) {
    char value[1024] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length && length < sizeof value ? std::string(value, length) : std::string();
}

unsigned long Answer(const char* name, unsigned long otherwise) {
    std::string value = Environment(name);
    return value.empty() ? otherwise : std::strtoul(value.c_str(), nullptr, 0);
}

std::string Text(const char* text) {
    return text ? text : "(null)";
}

std::string Window(HWND window) {
    if (!window) return "(null)";
    if (!IsWindow(window)) return "(invalid)";
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    bool topLevel = GetAncestor(window, GA_ROOT) == window;
    return std::string("window \"") + title + "\"" + (topLevel ? " top-level" : " child") +
           (IsWindowVisible(window) ? " visible" : " hidden");
}

// "Install Directory" of the product key as it stands, or "(none)".
std::string RecordedInstallDirectory() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(no key)";
    char value[MAX_PATH] = {};
    DWORD size = sizeof value - 1;
    LONG status = RegQueryValueExA(key, "Install Directory", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(value) : std::string("(none)");
}

void Record(const std::string& line) {
    std::string path = Environment("RECORDING_CLEANUP_LOG");
    if (path.empty()) return;
    if (FILE* log = std::fopen(path.c_str(), "ab")) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fclose(log);
    }
}

}  // namespace

extern "C" {

__declspec(dllexport) UINT WINAPI
    IS51_CleanupBeforeWelcomeMessage(HWND owner, const char* caption, const char* message, int productType) {
    Record("welcome\t" + Window(owner) + "\t" + Text(caption) + "\t" + Text(message) + "\t" +
           std::to_string(productType));
    if (Environment("RECORDING_CLEANUP_ASK") == "1")
        return MessageBoxA(owner, message, caption, MB_YESNO | MB_ICONQUESTION) == IDYES ? 1 : 0;
    return static_cast<UINT>(Answer("RECORDING_CLEANUP_WELCOME", 1));
}

__declspec(dllexport) UINT WINAPI
    IS51_CleanupBeforeDataMove(HWND unused, const char* snapshotDir, const char* oldInstallDir, const char* unused2,
                               const char* unused3, int productType) {
    Record("datamove\t" + Window(unused) + "\t" + Text(snapshotDir) + "\t" + Text(oldInstallDir) + "\t" +
           Text(unused2) + "\t" + Text(unused3) + "\t" + std::to_string(productType));
    return static_cast<UINT>(Answer("RECORDING_CLEANUP_DATAMOVE", 1));
}

#ifndef RECORDING_CLEANUP_PARTIAL
__declspec(dllexport) UINT WINAPI
    IS51_CleanupBeforeSetupComplete(const char* snapshotDir, const char* installDir, int productType) {
    std::string program = installDir ? std::string(installDir) + "\\zelto.exe" : std::string();
    bool installed = !program.empty() && GetFileAttributesA(program.c_str()) != INVALID_FILE_ATTRIBUTES;
    Record("complete\t" + Text(snapshotDir) + "\t" + Text(installDir) + "\t" + std::to_string(productType) + "\t" +
           (installed ? "zelto.exe there" : "zelto.exe missing") + "\t" + RecordedInstallDirectory());
    return static_cast<UINT>(Answer("RECORDING_CLEANUP_COMPLETE", 1));
}
#endif

__declspec(dllexport) LONG WINAPI UninstInitialize(HWND owner, HINSTANCE unused, LONG unused2) {
    Record("uninit\t" + Window(owner) + "\t" + (unused ? "instance" : "(null)") + "\t" + std::to_string(unused2) +
           "\t" + RecordedInstallDirectory());
    return static_cast<LONG>(Answer("RECORDING_CLEANUP_UNINIT", 0));
}

#ifndef RECORDING_CLEANUP_PARTIAL
__declspec(dllexport) LONG WINAPI UninstUnInitialize(HWND unused, HINSTANCE unused2, LONG unused3) {
    Record("ununinit\t" + Window(unused) + "\t" + (unused2 ? "instance" : "(null)") + "\t" + std::to_string(unused3) +
           "\t" + RecordedInstallDirectory());
    return static_cast<LONG>(Answer("RECORDING_CLEANUP_UNUNINIT", 0));
}
#endif

}  // extern "C"
