// Cleanup.dll as the setup engine and the uninstaller see it: a library
// loaded by path whose five exports are found by their plain names and
// called with the engine's arguments.
#pragma once

#include <windows.h>

#include <string>

namespace setup {

// The hooks' results are C++ bools: only the low byte of the register is
// defined, so they are declared as a wider integer and masked, never
// trusted whole.
using WelcomeHook = UINT(WINAPI*)(HWND owner, const char* caption, const char* message, int productType);
using DataMoveHook = UINT(WINAPI*)(HWND unused, const char* snapshotDir, const char* oldInstallDir, const char* unused2,
                                   const char* unused3, int productType);
using SetupCompleteHook = UINT(WINAPI*)(const char* snapshotDir, const char* installDir, int productType);
using UninstInitializeFn = LONG(WINAPI*)(HWND owner, HINSTANCE unused, LONG unused2);
using UninstUnInitializeFn = LONG(WINAPI*)(HWND unused, HINSTANCE unused2, LONG unused3);

inline constexpr const char kWelcomeExport[] = "IS51_CleanupBeforeWelcomeMessage";
inline constexpr const char kDataMoveExport[] = "IS51_CleanupBeforeDataMove";
inline constexpr const char kSetupCompleteExport[] = "IS51_CleanupBeforeSetupComplete";
inline constexpr const char kUninstInitializeExport[] = "UninstInitialize";
inline constexpr const char kUninstUnInitializeExport[] = "UninstUnInitialize";

// UninstInitialize's answer that stops the uninstall.
inline constexpr LONG kUninstallStop = -1;

inline bool HookResult(UINT raw) {
    return (raw & 0xFF) != 0;
}

class CleanupLibrary {
public:
    CleanupLibrary() = default;
    ~CleanupLibrary();
    CleanupLibrary(const CleanupLibrary&) = delete;
    CleanupLibrary& operator=(const CleanupLibrary&) = delete;

    // Loads the library from exactly this file: a relative path is made
    // full first, so the loader never goes searching its path for a
    // library of that name. On failure, error says why.
    bool Load(const std::string& path, std::string& error);
    const std::string& Path() const { return path_; }
    HMODULE Module() const { return module_; }

    // The export of that name, or null with error set.
    FARPROC Find(const char* name, std::string& error) const;

    template <typename Function>
    bool Find(const char* name, Function& function, std::string& error) const {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(Find(name, error)));
        return function != nullptr;
    }

private:
    HMODULE module_ = nullptr;
    std::string path_;
};

}  // namespace setup
