// setup.exe against a recording stand-in of Cleanup.dll: which exports it
// calls, in which order and with which arguments, what it does between them,
// and how it acts on their answers. Each test starts setup.exe as the host
// would and reads what it printed.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "program_driver.h"
#include "registry_backup.h"

using namespace test_support;

namespace {

const char kProductKey[] = "Software\\Quillon\\Orvanta";
const char* const kEnvironment[] = {"RECORDING_CLEANUP_LOG",      "RECORDING_CLEANUP_WELCOME",
                                    "RECORDING_CLEANUP_DATAMOVE", "RECORDING_CLEANUP_COMPLETE",
                                    "RECORDING_CLEANUP_UNINIT",   "RECORDING_CLEANUP_UNUNINIT",
                                    "RECORDING_CLEANUP_ASK"};
const char* const kProductFiles[] = {"zelto.exe", "ZELTO.DLL", "zelto.htm", "Cleanup.dll"};

using Line = std::vector<std::string>;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            // A read-only file refuses to go, even for root under Wine.
            SetFileAttributesA(path.c_str(), found.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

struct Value {
    DWORD type = REG_NONE;
    std::string data;  // a string without its terminator
    bool found = false;
};

Value ProductValue(const char* name) {
    Value value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    char data[1024] = {};
    DWORD size = sizeof data;
    value.found =
        RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (value.found) value.data.assign(data, value.type == REG_SZ && size > 0 ? size - 1 : size);
    return value;
}

bool ProductKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void SetInstallDirectory(const std::string& folder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kProductKey, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "Install Directory", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
}

std::string WithoutTrailingBackslash(std::string folder) {
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

struct SetupRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

class SetupEngine : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        root_ = std::string(temp) + "setup_engine_test_" + std::to_string(GetCurrentProcessId());
        RemoveTree(root_);
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
        source_ = root_ + "\\source";
        target_ = root_ + "\\target";
        CreateDirectoryA(source_.c_str(), nullptr);
        for (const char* name : kProductFiles) WriteFile(source_ + "\\" + name, std::string("contents of ") + name);
        log_ = root_ + "\\calls.log";
        for (const char* name : kEnvironment) SetEnvironmentVariableA(name, nullptr);
        SetEnvironmentVariableA("RECORDING_CLEANUP_LOG", log_.c_str());
        backup_ = std::make_unique<RegistryBackup>(HKEY_LOCAL_MACHINE, kProductKey);
    }

    void TearDown() override {
        backup_.reset();
        for (const char* name : kEnvironment) SetEnvironmentVariableA(name, nullptr);
        RemoveTree(root_);
    }

    static std::string SetupProgram() { return ProgramFolder() + "\\setup.exe"; }
    static std::string Library(const char* name = "recording_cleanup.dll") { return ProgramFolder() + "\\" + name; }
    // One word of a command line. Backslashes before the closing quote are
    // doubled, or the last would escape the quote.
    static std::string Quoted(const std::string& text) {
        size_t trailing = text.size() - text.find_last_not_of('\\') - 1;
        return "\"" + text + std::string(trailing, '\\') + "\"";
    }

    // setup.exe with the words, waited for.
    SetupRun Run(const std::string& arguments) {
        Program setup(SetupProgram(), arguments, "", true);
        SetupRun run;
        EXPECT_TRUE(setup.Started());
        EXPECT_TRUE(setup.WaitForExit(30000, &run.exitCode)) << "setup did not end: " << setup.Output();
        run.output = setup.Output();
        return run;
    }

    SetupRun Install(const std::string& more = "") {
        return Run("install --dir " + Quoted(target_) + " --source " + Quoted(source_) + " --library " +
                   Quoted(Library()) + " " + more);
    }

    // The recording library's lines, each split at its tabs.
    std::vector<Line> Calls() {
        std::vector<Line> calls;
        std::istringstream text(ReadFile(log_));
        for (std::string line; std::getline(text, line);) {
            Line fields;
            size_t start = 0;
            for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
                fields.push_back(line.substr(start, tab - start));
            fields.push_back(line.substr(start));
            calls.push_back(fields);
        }
        return calls;
    }

    std::vector<std::string> CallNames() {
        std::vector<std::string> names;
        for (const Line& call : Calls()) names.push_back(call[0]);
        return names;
    }

    // The product as an earlier setup left it in target_.
    void PlaceInstallation() {
        CreateDirectoryA(target_.c_str(), nullptr);
        for (const char* name : kProductFiles) WriteFile(target_ + "\\" + name, "installed");
        SetInstallDirectory(target_);
    }

    std::string root_, source_, target_, log_;
    std::unique_ptr<RegistryBackup> backup_;
};

const std::string kOwner = "window \"Orvanta Setup\" top-level visible";

}  // namespace

TEST_F(SetupEngine, InstallHandsTheHooksTheEnginesArgumentsInOrder) {
    std::string snapshot = root_ + "\\snap";
    CreateDirectoryA(snapshot.c_str(), nullptr);
    SetupRun run = Install("--type 4 --snapshot " + Quoted(snapshot + "\\") + " --old " + Quoted("C:\\Old Place\\"));
    ASSERT_EQ(run.exitCode, 0u) << run.output;

    std::vector<Line> calls = Calls();
    ASSERT_EQ(calls.size(), 3u) << run.output;
    EXPECT_EQ(calls[0], (Line{"welcome", kOwner, "Orvanta Setup", calls[0][3], "4"}));
    EXPECT_NE(calls[0][3], "");
    // Folders without their trailing backslash; the two unused texts empty.
    EXPECT_EQ(calls[1], (Line{"datamove", kOwner, snapshot, "C:\\Old Place", "", "", "4"}));
    // By the end the files are in place and the product is recorded.
    EXPECT_EQ(calls[2], (Line{"complete", snapshot, target_, "4", "zelto.exe there", target_}));

    // One line per step, in the order they ran.
    size_t at = 0;
    for (const char* step :
         {"library: ", "welcome: ", "data move: ", "files: ", "registry: ", "complete: ", "setup: done"}) {
        size_t found = run.output.find(std::string("\n") + step, at);
        if (at == 0 && run.output.rfind(step, 0) == 0) found = 0;
        ASSERT_NE(found, std::string::npos) << step << " in:\n" << run.output;
        at = found + 1;
    }
}

TEST_F(SetupEngine, InstallCopiesTheFilesAndRecordsTheProductBesideWhatIsThere) {
    ASSERT_TRUE(ProductValue("Shutdown Enabled").found);  // the host's installation
    // An earlier installation's read-only program is replaced all the same.
    CreateDirectoryA(target_.c_str(), nullptr);
    WriteFile(target_ + "\\zelto.exe", "old");
    SetFileAttributesA((target_ + "\\zelto.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    SetupRun run = Install("--type 4");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    for (const char* name : kProductFiles)
        EXPECT_EQ(ReadFile(target_ + "\\" + name), std::string("contents of ") + name) << name;

    Value folder = ProductValue("Install Directory");
    EXPECT_EQ(folder.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(folder.data, target_);
    Value type = ProductValue("Product Type");
    EXPECT_EQ(type.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(type.data, std::string("\x04", 1));
    EXPECT_EQ(ProductValue("Product Name").data, "Zelto KX9");
    EXPECT_EQ(ProductValue("Install Language").data, "enu");
    EXPECT_EQ(ProductValue("Install Menu").data, "Zelto");
    EXPECT_TRUE(ProductValue("Shutdown Enabled").found);  // values of the control center stay
}

TEST_F(SetupEngine, InstallOfAnUnknownTypeRecordsItAsSuchAndLeavesOutAMissingCleanupLibrary) {
    DeleteFileA((source_ + "\\Cleanup.dll").c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    SetupRun run = Install("--type 200");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_FALSE(Exists(target_ + "\\Cleanup.dll"));
    EXPECT_TRUE(Exists(target_ + "\\zelto.htm"));
    EXPECT_EQ(ProductValue("Product Type").data, std::string("\xC8", 1));
    EXPECT_EQ(ProductValue("Product Name").data, "[Unknown]:");
    EXPECT_EQ(ProductValue("Install Menu").data, "Orvanta");
}

TEST_F(SetupEngine, TheOldFolderIsTheRecordedOneElseTheNewOneAndTheSnapshotTheTempFolder) {
    SetInstallDirectory("C:\\Old Place\\");
    ASSERT_EQ(Install().exitCode, 0u);
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::vector<Line> calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1][2], WithoutTrailingBackslash(temp));
    EXPECT_EQ(calls[1][3], "C:\\Old Place");
    EXPECT_EQ(calls[1][6], "3");  // Zelto KX4 unless told otherwise

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    DeleteFileA(log_.c_str());
    ASSERT_EQ(Install().exitCode, 0u);
    calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1][3], target_);
}

TEST_F(SetupEngine, AWelcomeThatSaysNoStopsSetupBeforeAnythingElse) {
    // Only the low byte of the hook's bool is its answer: 0x100 is false.
    for (const char* answer : {"0", "256"}) {
        SetEnvironmentVariableA("RECORDING_CLEANUP_WELCOME", answer);
        DeleteFileA(log_.c_str());
        SetupRun run = Install("--type 4");
        EXPECT_EQ(run.exitCode, 1u) << answer << run.output;
        EXPECT_EQ(CallNames(), std::vector<std::string>{"welcome"}) << answer;
        EXPECT_FALSE(Exists(target_)) << answer;
        EXPECT_EQ(ProductValue("Install Directory").data, "C:\\Program Files\\Orvanta") << answer;
        EXPECT_EQ(ProductValue("Product Type").data, std::string("\x03", 1)) << answer;
        EXPECT_NE(run.output.find("stopped setup"), std::string::npos) << run.output;
    }
}

TEST_F(SetupEngine, AFileThatCannotBeCopiedStopsSetupAndIsNamed) {
    CreateDirectoryA(target_.c_str(), nullptr);
    // Held open without sharing, the old file cannot be replaced.
    HANDLE held = CreateFileA((target_ + "\\ZELTO.DLL").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SetupRun run = Install();
    CloseHandle(held);
    EXPECT_EQ(run.exitCode, 4u) << run.output;
    EXPECT_NE(run.output.find("ZELTO.DLL"), std::string::npos) << run.output;
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"welcome", "datamove"}));
    EXPECT_EQ(ProductValue("Install Directory").data, "C:\\Program Files\\Orvanta");
}

TEST_F(SetupEngine, AMissingSourceFileStopsSetupBeforeTheLibraryIsAsked) {
    DeleteFileA((source_ + "\\zelto.htm").c_str());
    SetupRun run = Install();
    EXPECT_EQ(run.exitCode, 4u) << run.output;
    EXPECT_NE(run.output.find("zelto.htm is missing"), std::string::npos) << run.output;
    EXPECT_TRUE(Calls().empty());
    EXPECT_FALSE(Exists(target_));
}

TEST_F(SetupEngine, AnIncompleteOrMissingLibraryIsRefusedBeforeAnyExportIsCalled) {
    SetupRun install = Run("install --dir " + Quoted(target_) + " --source " + Quoted(source_) + " --library " +
                           Quoted(Library("partial_cleanup.dll")));
    EXPECT_EQ(install.exitCode, 3u) << install.output;
    EXPECT_NE(install.output.find("no export named IS51_CleanupBeforeSetupComplete"), std::string::npos)
        << install.output;

    PlaceInstallation();
    SetupRun uninstall = Run("uninstall --library " + Quoted(Library("partial_cleanup.dll")));
    EXPECT_EQ(uninstall.exitCode, 3u) << uninstall.output;
    EXPECT_NE(uninstall.output.find("no export named UninstUnInitialize"), std::string::npos) << uninstall.output;
    EXPECT_TRUE(Exists(target_ + "\\zelto.exe"));

    SetupRun call = Run("call ununinit --library " + Quoted(Library("partial_cleanup.dll")));
    EXPECT_EQ(call.exitCode, 3u) << call.output;
    EXPECT_EQ(call.output.find("result:"), std::string::npos) << call.output;

    std::string nowhere = root_ + "\\nowhere\\Cleanup.dll";
    SetupRun missing = Run("call uninit --library " + Quoted(nowhere));
    EXPECT_EQ(missing.exitCode, 3u) << missing.output;
    EXPECT_NE(missing.output.find(nowhere), std::string::npos) << missing.output;

    EXPECT_TRUE(Calls().empty());
}

TEST_F(SetupEngine, AnUninstallThatTheLibraryStopsRemovesNothing) {
    PlaceInstallation();
    SetEnvironmentVariableA("RECORDING_CLEANUP_UNINIT", "-1");
    SetupRun run = Run("uninstall --library " + Quoted(Library()));
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_EQ(CallNames(), std::vector<std::string>{"uninit"});
    for (const char* name : kProductFiles) EXPECT_TRUE(Exists(target_ + "\\" + name)) << name;
    EXPECT_EQ(ProductValue("Install Directory").data, target_);
}

TEST_F(SetupEngine, AnUninstallRemovesTheFilesTheFolderAndTheWholeKeyBeforeUninitializing) {
    PlaceInstallation();
    SetFileAttributesA((target_ + "\\ZELTO.DLL").c_str(), FILE_ATTRIBUTE_READONLY);
    HKEY subkey = nullptr;  // the host's installation has Setup\Board1 and more below the key
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta\\Setup", 0, KEY_READ, &subkey),
              ERROR_SUCCESS);
    RegCloseKey(subkey);

    SetupRun run = Run("uninstall --library " + Quoted(Library()));
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    std::vector<Line> calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], (Line{"uninit", kOwner, "(null)", "0", target_}));
    EXPECT_EQ(calls[1], (Line{"ununinit", "(null)", "(null)", "0", "(no key)"}));
    EXPECT_FALSE(Exists(target_));
    EXPECT_FALSE(ProductKeyExists());
    EXPECT_NE(run.output.find("uninstall: done"), std::string::npos) << run.output;
}

TEST_F(SetupEngine, AnUninstallKeepsAFolderThatHoldsTheUsersFiles) {
    PlaceInstallation();
    WriteFile(target_ + "\\notes.txt", "mine");
    SetupRun run = Run("uninstall --library " + Quoted(Library()));
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    for (const char* name : kProductFiles) EXPECT_FALSE(Exists(target_ + "\\" + name)) << name;
    EXPECT_EQ(ReadFile(target_ + "\\notes.txt"), "mine");
}

TEST_F(SetupEngine, CallRunsOneExportAsGivenAndPrintsItsResult) {
    struct Case {
        const char* variable;
        const char* answer;
        std::string words;
        const char* printed;
    };
    for (const Case& c : {
             Case{"RECORDING_CLEANUP_WELCOME", "0xFFFFFF01", "call welcome 3", "result: 1\n"},
             Case{"RECORDING_CLEANUP_WELCOME", "0x200", "call welcome 3", "result: 0\n"},
             Case{"RECORDING_CLEANUP_DATAMOVE", "1", "call datamove 2 C:\\snap\\ C:\\old", "result: 1\n"},
             Case{"RECORDING_CLEANUP_COMPLETE", "0", "call complete -5 C:\\snap C:\\dir", "result: 0\n"},
             Case{"RECORDING_CLEANUP_UNINIT", "-1", "call uninit", "result: -1\n"},
             Case{"RECORDING_CLEANUP_UNUNINIT", "7", "call ununinit", "result: 7\n"},
         }) {
        SetEnvironmentVariableA(c.variable, c.answer);
        SetupRun run = Run(c.words + " --library " + Quoted(Library()));
        SetEnvironmentVariableA(c.variable, nullptr);
        EXPECT_EQ(run.exitCode, 0u) << c.words;
        EXPECT_EQ(run.output, c.printed) << c.words;
    }
    std::vector<Line> calls = Calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0][1], kOwner);
    EXPECT_EQ(calls[0][2], "Orvanta Setup");
    // Exactly as given, trailing backslash and all.
    EXPECT_EQ(calls[2], (Line{"datamove", kOwner, "C:\\snap\\", "C:\\old", "", "", "2"}));
    EXPECT_EQ(calls[3][0], "complete");
    EXPECT_EQ(calls[3][2], "C:\\dir");
    EXPECT_EQ(calls[3][3], "-5");
    EXPECT_EQ(calls[4][1], kOwner);
    EXPECT_EQ(calls[5][1], "(null)");
}

TEST_F(SetupEngine, TheLibrarysMessageBoxIsOwnedBySetupAndAnsweredFromOutside) {
    SetEnvironmentVariableA("RECORDING_CLEANUP_ASK", "1");
    {
        Program setup(SetupProgram(), "call welcome 3 Cap \"Run Setup here?\" --library " + Quoted(Library()), "",
                      true);
        HWND box = setup.WaitForMessageBox();
        ASSERT_NE(box, nullptr) << setup.Output();
        EXPECT_EQ(MessageBoxText(box), "Run Setup here?");
        EXPECT_EQ(WindowText(box), "Cap");
        EXPECT_EQ(WindowText(GetWindow(box, GW_OWNER)), "Orvanta Setup");
        PressButton(box, IDYES);
        DWORD exitCode = 1;
        ASSERT_TRUE(setup.WaitForExit(10000, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(setup.Output(), "result: 1\n");
    }
    // Answered No during an install, the welcome stops setup.
    DeleteFileA(log_.c_str());
    Program setup(
        SetupProgram(),
        "install --dir " + Quoted(target_) + " --source " + Quoted(source_) + " --library " + Quoted(Library()), "",
        true);
    HWND box = setup.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << setup.Output();
    EXPECT_EQ(WindowText(box), "Orvanta Setup");
    // Setup reports as it goes: the library is loaded, the welcome not done.
    EXPECT_NE(setup.Output().find("library: "), std::string::npos);
    EXPECT_EQ(setup.Output().find("welcome: "), std::string::npos);
    PressButton(box, IDNO);
    DWORD exitCode = 0;
    ASSERT_TRUE(setup.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(CallNames(), std::vector<std::string>{"welcome"});
    EXPECT_FALSE(Exists(target_));
}

TEST_F(SetupEngine, WordsThatMakeNoCommandGetTheUsageAndExitCode2) {
    for (const char* words : {"", "install --type 300"}) {
        SetupRun run = Run(words);
        EXPECT_EQ(run.exitCode, 2u) << words;
        EXPECT_NE(run.output.find("usage: setup install"), std::string::npos) << words;
    }
    EXPECT_TRUE(Calls().empty());
}
