// What the suites of Cleanup.dll share: the library loaded and called as
// the setup engine calls it, its message boxes answered and recorded, and
// the host's boot files, initialization files, product key, power schemes
// and printer settings kept and put back around every test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "cleanup_host_keeper.h"
#include "corehub_client.h"
#include "file_backup.h"
#include "folder_backup.h"
#include "host_folders.h"
#include "message_box_watcher.h"
#include "program_driver.h"
#include "registry_backup.h"
#include "registry_values.h"
#include "s3w32d_client.h"

namespace cleanup_test {

using WelcomeHook = bool(WINAPI*)(HWND, const char*, const char*, int);
using DataMoveHook = bool(WINAPI*)(HWND, const char*, const char*, const char*, const char*, int);
using SetupCompleteHook = bool(WINAPI*)(const char*, const char*, int);
using UninstallHook = LONG(WINAPI*)(HWND, HINSTANCE, LONG);

inline const char kProductKey[] = "Software\\Quillon\\Orvanta";
inline const char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";
inline const char kConfigSys[] = "C:\\CONFIG.SYS";
inline const char kConfigBak[] = "C:\\CONFIG.BAK";
inline const char kConfigScratch[] = "C:\\CONFIG.$$$";
inline const char kAutoexecBat[] = "C:\\AUTOEXEC.BAT";
inline const char kAutoexecBak[] = "C:\\AUTOEXEC.BAK";
inline const char kMsdosSys[] = "c:\\msdos.sys";
inline const char kMachinePowerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\PowerCfg";
inline const char kUserPowerKey[] = "Control Panel\\PowerCfg";
inline const char kDefaultUserPowerKey[] = ".Default\\Control Panel\\PowerCfg";
inline const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers";
inline const char kMonitorPortsKey[] = "System\\CurrentControlSet\\Control\\Print\\Ports";
inline const char kOldMonitorKey[] = "System\\CurrentControlSet\\Control\\Print\\Monitors\\OrvantaPrinters";
inline const char kPortDevicesKey[] = "Enum\\Root\\Ternway";
inline const char kPortDriversKey[] = "System\\CurrentControlSet\\Services\\Class\\Ports";
inline const char kOldPortMonitorFile[] = "C:\\Program Files\\Orvanta\\localmon.dll";

using test_support::WindowsFile;

// "07-Dec-2026": today as the boot-file comments write it.
inline std::string Today() {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char date[32];
    wsprintfA(date, "%02d-%s-%04d", now.wDay, months[now.wMonth - 1], now.wYear);
    return date;
}

// Everything of the host that the hooks change or remove, kept while the
// keeper lives and put back as it was when it goes. Besides what every
// keeper of a hooks' host keeps: what the removal steps find of earlier
// installations on the host, so that each test leaves the host as it found
// it, whatever it ran, and the whole device branches, where the tests lay
// out foreign devices and classes beside the product's.
struct KeptHost : test_support::CleanupHostKeeper {
    KeptHost() {
        KeepFile(kOldPortMonitorFile);
        KeepFolder("C:\\Program Files\\Orvanta");
        KeepStartMenuFolder("Zelto");
        KeepStartMenuFolder("Startup Zelto KX4");
        KeepKey(HKEY_LOCAL_MACHINE, "Enum");
        KeepKey(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class");
    }
};

class CleanupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(library_, nullptr) << "Cleanup.dll did not load";
        ASSERT_TRUE(driver_.IsOpen()) << "the stand-in driver is not running";
        driver_.SetAtStation(false);
        ASSERT_TRUE(s3_.IsOpen()) << "the S3 support stand-in is not running";
        s3_.Reset();
        welcome_ = Export<WelcomeHook>("IS51_CleanupBeforeWelcomeMessage");
        dataMove_ = Export<DataMoveHook>("IS51_CleanupBeforeDataMove");
        complete_ = Export<SetupCompleteHook>("IS51_CleanupBeforeSetupComplete");
        uninstall_ = Export<UninstallHook>("UninstInitialize");
        uninstallEnd_ = Export<UninstallHook>("UninstUnInitialize");
        ASSERT_TRUE(welcome_ && dataMove_ && complete_ && uninstall_ && uninstallEnd_);
    }
    void TearDown() override {
        driver_.SetAtStation(false);
        driver_.SetAbsent(false);
        s3_.Reset();
    }

    template <typename Function>
    Function Export(const char* name) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
    }

    // The hooks, as the setup engine and the uninstaller call them.
    bool Welcome(int code, HWND owner = nullptr, const char* caption = "Orvanta Setup",
                 const char* message = "Run Setup at the Host PC console.") {
        return welcome_(owner, caption, message, code);
    }
    bool DataMove(int code) {
        return dataMove_(nullptr, snapshotFolder_.c_str(), oldFolder_.c_str(), nullptr, nullptr, code);
    }
    bool SetupComplete(int code) { return complete_(snapshotFolder_.c_str(), installFolder_.c_str(), code); }
    LONG Uninstall(HWND owner = nullptr) { return uninstall_(owner, nullptr, 0); }
    LONG UninstallEnd() { return uninstallEnd_(nullptr, nullptr, 0); }

    std::vector<test_support::ShownBox> Boxes() { return boxes_.Boxes(); }

    // Points the removal's folders (the installation with its task folders,
    // the start-up folder named after the system) at places of the test's
    // own, so a test sees none of the host's and leaves them be.
    void UseTestInstallation() {
        test_support::PutText(HKEY_LOCAL_MACHINE, kProductKey, "Install Directory", installFolder_);
        test_support::PutText(HKEY_LOCAL_MACHINE, kSetupKey, "SystemNameString", "Orvanta Test System");
    }

    HMODULE library_ = LoadLibraryA((test_support::ProgramFolder() + "\\Cleanup.dll").c_str());
    std::string snapshotFolder_ = "C:\\windows\\temp";
    // Folders of the tests' own: the host's installation stays as it is.
    std::string oldFolder_ = "C:\\Orvanta Old Test";
    std::string installFolder_ = "C:\\Orvanta Test";
    test_support::CorehubClient driver_;
    test_support::S3Client s3_;
    test_support::MessageBoxWatcher boxes_;
    KeptHost kept_;

private:
    WelcomeHook welcome_ = nullptr;
    DataMoveHook dataMove_ = nullptr;
    SetupCompleteHook complete_ = nullptr;
    UninstallHook uninstall_ = nullptr;
    UninstallHook uninstallEnd_ = nullptr;
};

}  // namespace cleanup_test
