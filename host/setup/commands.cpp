#include "commands.h"

#include <optional>
#include <string>
#include <vector>

#include "call_watch.h"
#include "cleanup_library.h"
#include "owner_window.h"
#include "platform.h"
#include "product.h"

namespace setup {

namespace {

class Report {
public:
    Report(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    void Step(const std::string& line) { out_ << line << std::endl; }
    int Fail(int exitCode, const std::string& line) {
        out_.flush();
        err_ << "setup: " << line << std::endl;
        return exitCode;
    }

private:
    std::ostream& out_;
    std::ostream& err_;
};

std::string LibraryPath(const Invocation& invocation) {
    return invocation.library ? *invocation.library : JoinPath(ProgramFolder(), "Cleanup.dll");
}

// A folder given on the command line, in the engine's form.
std::string GivenFolder(const std::string& folder) {
    return WithoutTrailingBackslash(FullPath(folder));
}

class ProductKey {
public:
    ~ProductKey() {
        if (key_) RegCloseKey(key_);
    }
    LONG Open(REGSAM access) { return Kept(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, access, &key_)); }
    LONG Create() {
        return Kept(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                    &key_, nullptr));
    }
    LONG SetText(const char* name, const std::string& value) {
        return RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1));
    }
    LONG SetByte(const char* name, BYTE value) { return RegSetValueExA(key_, name, 0, REG_BINARY, &value, 1); }
    std::optional<std::string> Text(const char* name) {
        char value[MAX_PATH * 2] = {};
        DWORD type = 0, size = sizeof value - 1;
        if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        return std::string(value);
    }

private:
    // A failed open leaves nothing to close, whatever the handle holds.
    LONG Kept(LONG status) {
        if (status != ERROR_SUCCESS) key_ = nullptr;
        return status;
    }
    HKEY key_ = nullptr;
};

// The "Install Directory" recorded by an earlier setup, in the engine's
// form; nothing when there is none.
std::optional<std::string> RecordedInstallDirectory() {
    ProductKey key;
    if (key.Open(KEY_READ) != ERROR_SUCCESS) return std::nullopt;
    auto folder = key.Text(kInstallDirectoryValue);
    if (!folder) return std::nullopt;
    std::string trimmed = WithoutTrailingBackslash(*folder);
    if (trimmed.empty()) return std::nullopt;
    return trimmed;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// ---- install -----------------------------------------------------------------

struct InstallPlan {
    int productType;
    std::string snapshot;
    std::string oldDir;
    std::string installDir;
    std::string source;
};

InstallPlan PlanInstall(const Invocation& invocation) {
    InstallPlan plan;
    plan.productType = invocation.productType;
    plan.snapshot = invocation.snapshot ? GivenFolder(*invocation.snapshot) : TempFolder();
    plan.installDir = GivenFolder(invocation.installDir ? *invocation.installDir : kDefaultInstallFolder);
    if (invocation.oldDir)
        plan.oldDir = GivenFolder(*invocation.oldDir);
    else
        plan.oldDir = RecordedInstallDirectory().value_or(plan.installDir);
    plan.source = GivenFolder(invocation.source ? *invocation.source : ProgramFolder());
    return plan;
}

// Every file setup needs must be there before the library is told that
// setup runs, so a bad source never leaves a half-made installation.
bool CheckSource(const InstallPlan& plan, std::string& error) {
    for (const ProductFile& file : ProductFiles()) {
        if (file.required && !FileExists(JoinPath(plan.source, file.name))) {
            error = "files: " + std::string(file.name) + " is missing in " + plan.source;
            return false;
        }
    }
    return true;
}

bool CopyProductFiles(const InstallPlan& plan, Report& report, std::string& error) {
    if (!CreateFolders(plan.installDir, error)) {
        error = "files: " + error;
        return false;
    }
    if (SameFolder(plan.source, plan.installDir)) {
        report.Step("files: already in " + plan.installDir);
        return true;
    }
    std::vector<std::string> copied;
    for (const ProductFile& file : ProductFiles()) {
        std::string from = JoinPath(plan.source, file.name);
        if (!file.required && !FileExists(from)) continue;
        std::string to = JoinPath(plan.installDir, file.name);
        MakeWritable(to);
        if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
            error = "files: cannot copy " + from + " to " + to + ": " + ErrorText(GetLastError());
            if (!copied.empty()) error += " (copied before it: " + Joined(copied) + ")";
            return false;
        }
        copied.push_back(file.name);
    }
    report.Step("files: copied " + Joined(copied) + " to " + plan.installDir);
    return true;
}

bool RecordProduct(const InstallPlan& plan, Report& report, std::string& error) {
    ProductKey key;
    LONG status = key.Create();
    const char* failed = nullptr;
    if (status != ERROR_SUCCESS) {
        failed = "create the key";
    } else if ((status = key.SetText(kInstallDirectoryValue, plan.installDir)) != ERROR_SUCCESS) {
        failed = kInstallDirectoryValue;
    } else if ((status = key.SetByte("Product Type", static_cast<BYTE>(plan.productType))) != ERROR_SUCCESS) {
        failed = "Product Type";
    } else if ((status = key.SetText("Product Name", ProductName(plan.productType))) != ERROR_SUCCESS) {
        failed = "Product Name";
    } else if ((status = key.SetText("Install Language", "enu")) != ERROR_SUCCESS) {
        failed = "Install Language";
    } else if ((status = key.SetText("Install Menu", InstallMenu(plan.productType))) != ERROR_SUCCESS) {
        failed = "Install Menu";
    }
    if (failed) {
        error = std::string("registry: cannot write ") + kProductKeyName + " (" + failed +
                "): " + ErrorText(static_cast<DWORD>(status));
        return false;
    }
    // The system's display name lives in the setup key, which the library
    // deletes before the copy and fills again from its snapshot after it.
    HKEY setup = nullptr;
    const std::string setupKey = std::string(kProductKey) + "\\Setup";
    status =
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, setupKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &setup, nullptr);
    if (status == ERROR_SUCCESS) {
        const std::string name = ProductName(plan.productType);
        status = RegSetValueExA(setup, "SystemNameString", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                                static_cast<DWORD>(name.size() + 1));
        RegCloseKey(setup);
    }
    if (status != ERROR_SUCCESS) {
        error = "registry: cannot write HKLM\\" + setupKey +
                " (SystemNameString): " + ErrorText(static_cast<DWORD>(status));
        return false;
    }
    report.Step("registry: recorded " + ProductName(plan.productType) + " (type " + std::to_string(plan.productType) +
                ") in " + plan.installDir + " under " + kProductKeyName);
    return true;
}

int Install(const Invocation& invocation, Report& report) {
    InstallPlan plan = PlanInstall(invocation);
    CleanupLibrary library;
    WelcomeHook welcome = nullptr;
    DataMoveHook dataMove = nullptr;
    SetupCompleteHook complete = nullptr;
    std::string error;
    if (!library.Load(LibraryPath(invocation), error) || !library.Find(kWelcomeExport, welcome, error) ||
        !library.Find(kDataMoveExport, dataMove, error) || !library.Find(kSetupCompleteExport, complete, error))
        return report.Fail(kExitNoLibrary, error);
    report.Step("library: " + library.Path());
    if (!CheckSource(plan, error)) return report.Fail(kExitStepFailed, error);
    if (invocation.countCalls && !WatchCalls(library.Module(), invocation.stopAt))
        return report.Fail(kExitNoLibrary, library.Path() + ": its imports cannot be read");

    OwnerWindow owner;
    if (!owner.Create(error)) return report.Fail(kExitStepFailed, error);
    const std::string type = std::to_string(plan.productType);

    bool welcomed = HookResult(welcome(owner.Handle(), kSetupCaption, kWelcomeMessage, plan.productType));
    report.Step("welcome: " + std::string(kWelcomeExport) + "(type " + type + ") returned " + (welcomed ? "1" : "0"));
    if (!welcomed) return report.Fail(kExitStopped, "Cleanup.dll stopped setup at the welcome; nothing was installed");

    bool moved =
        HookResult(dataMove(owner.Handle(), plan.snapshot.c_str(), plan.oldDir.c_str(), "", "", plan.productType));
    report.Step("data move: " + std::string(kDataMoveExport) + "(snapshot " + plan.snapshot + ", old " + plan.oldDir +
                ", type " + type + ") returned " + (moved ? "1" : "0"));

    if (!CopyProductFiles(plan, report, error) || !RecordProduct(plan, report, error))
        return report.Fail(kExitStepFailed, error);

    bool completed = HookResult(complete(plan.snapshot.c_str(), plan.installDir.c_str(), plan.productType));
    report.Step("complete: " + std::string(kSetupCompleteExport) + "(snapshot " + plan.snapshot + ", dir " +
                plan.installDir + ", type " + type + ") returned " + (completed ? "1" : "0"));
    if (invocation.countCalls) report.Step("calls: " + std::to_string(WatchedCalls()));
    report.Step("setup: done");
    return kExitDone;
}

// ---- uninstall ---------------------------------------------------------------

// Removes the product's files from the recorded folder, and the folder once
// it is empty. What cannot be removed is named in problems.
void RemoveProductFiles(Report& report, std::vector<std::string>& problems) {
    auto folder = RecordedInstallDirectory();
    if (!folder) {
        report.Step("files: no Install Directory is recorded; no files removed");
        return;
    }
    std::vector<std::string> removed;
    for (const ProductFile& file : ProductFiles()) {
        std::string path = JoinPath(*folder, file.name);
        if (!FileExists(path)) continue;
        MakeWritable(path);
        if (DeleteFileA(path.c_str()))
            removed.push_back(file.name);
        else
            problems.push_back(path + " (" + ErrorText(GetLastError()) + ")");
    }
    std::string line = removed.empty() ? "files: none of the product's files were in " + *folder
                                       : "files: removed " + Joined(removed) + " from " + *folder;
    // Only an empty folder goes: anything else in it is the user's.
    if (FolderExists(*folder) && RemoveDirectoryA(folder->c_str())) line += ", and the folder";
    report.Step(line);
}

void RemoveProductKey(Report& report, std::vector<std::string>& problems) {
    LONG status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    if (status == ERROR_SUCCESS) {
        // RegDeleteTreeA empties the key but leaves it on some systems.
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
        report.Step(std::string("registry: deleted ") + kProductKeyName);
    } else if (status == ERROR_FILE_NOT_FOUND) {
        report.Step(std::string("registry: ") + kProductKeyName + " was not there");
    } else {
        problems.push_back(std::string(kProductKeyName) + " (" + ErrorText(static_cast<DWORD>(status)) + ")");
    }
}

int Uninstall(const Invocation& invocation, Report& report) {
    CleanupLibrary library;
    UninstInitializeFn initialize = nullptr;
    UninstUnInitializeFn uninitialize = nullptr;
    std::string error;
    if (!library.Load(LibraryPath(invocation), error) || !library.Find(kUninstInitializeExport, initialize, error) ||
        !library.Find(kUninstUnInitializeExport, uninitialize, error))
        return report.Fail(kExitNoLibrary, error);
    report.Step("library: " + library.Path());

    OwnerWindow owner;
    if (!owner.Create(error)) return report.Fail(kExitStepFailed, error);
    LONG answer = initialize(owner.Handle(), nullptr, 0);
    report.Step("initialize: " + std::string(kUninstInitializeExport) + " returned " + std::to_string(answer));
    if (answer == kUninstallStop)
        return report.Fail(kExitStopped, "Cleanup.dll stopped the uninstall; nothing was removed");

    std::vector<std::string> problems;
    RemoveProductFiles(report, problems);
    RemoveProductKey(report, problems);

    LONG last = uninitialize(nullptr, nullptr, 0);
    report.Step("uninitialize: " + std::string(kUninstUnInitializeExport) + " returned " + std::to_string(last));
    if (!problems.empty()) return report.Fail(kExitStepFailed, "uninstall: could not remove " + Joined(problems));
    report.Step("uninstall: done");
    return kExitDone;
}

// ---- call --------------------------------------------------------------------

int Call(const Invocation& invocation, Report& report) {
    CleanupLibrary library;
    std::string error;
    if (!library.Load(LibraryPath(invocation), error)) return report.Fail(kExitNoLibrary, error);
    const char* name = nullptr;
    switch (invocation.target) {
    case Export::kWelcome:
        name = kWelcomeExport;
        break;
    case Export::kDataMove:
        name = kDataMoveExport;
        break;
    case Export::kComplete:
        name = kSetupCompleteExport;
        break;
    case Export::kUninit:
        name = kUninstInitializeExport;
        break;
    case Export::kUnUninit:
        name = kUninstUnInitializeExport;
        break;
    }
    FARPROC function = library.Find(name, error);
    if (!function) return report.Fail(kExitNoLibrary, error);
    if (invocation.countCalls && !WatchCalls(library.Module(), invocation.stopAt))
        return report.Fail(kExitNoLibrary, library.Path() + ": its imports cannot be read");
    auto as = [function](auto typed) { return reinterpret_cast<decltype(typed)>(reinterpret_cast<void*>(function)); };

    // The engine's window stands for every call, as it does while setup
    // runs, whether the export is handed it or not.
    OwnerWindow owner;
    if (!owner.Create(error)) return report.Fail(kExitStepFailed, error);

    // Arguments go to the library exactly as given: a test decides what the
    // library sees.
    long result = 0;
    const int type = invocation.productType;
    switch (invocation.target) {
    case Export::kWelcome:
        result = HookResult(as(WelcomeHook{})(owner.Handle(), invocation.caption.value_or(kSetupCaption).c_str(),
                                              invocation.message.value_or(kWelcomeMessage).c_str(), type));
        break;
    case Export::kDataMove:
        result = HookResult(
            as(DataMoveHook{})(owner.Handle(), invocation.snapshot->c_str(), invocation.oldDir->c_str(), "", "", type));
        break;
    case Export::kComplete:
        result =
            HookResult(as(SetupCompleteHook{})(invocation.snapshot->c_str(), invocation.installDir->c_str(), type));
        break;
    case Export::kUninit:
        result = as(UninstInitializeFn{})(owner.Handle(), nullptr, 0);
        break;
    case Export::kUnUninit:
        result = as(UninstUnInitializeFn{})(nullptr, nullptr, 0);
        break;
    }
    report.Step("result: " + std::to_string(result));
    if (invocation.countCalls) report.Step("calls: " + std::to_string(WatchedCalls()));
    return kExitDone;
}

}  // namespace

int Run(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    Report report(out, err);
    switch (invocation.action) {
    case Action::kHelp:
        out << UsageText() << std::flush;
        return kExitDone;
    case Action::kInstall:
        return Install(invocation, report);
    case Action::kUninstall:
        return Uninstall(invocation, report);
    case Action::kCall:
        return Call(invocation, report);
    }
    return kExitBadArguments;
}

}  // namespace setup
