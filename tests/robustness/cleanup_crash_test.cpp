// Cleanup.dll's hooks cut off in the middle of their work, as a crash or a
// power cut would leave them: setup.exe ends itself just before the k-th
// call that changes the machine. Afterwards the boot files must be whole
// (the old text or the new one), the profile files must keep every section,
// and running the hook again, then the rest of the installation, must reach
// what an uninterrupted run reaches.
#include <cstdio>
#include <map>
#include <random>
#include <set>

#include "campaign.h"
#include "cleanup_fixture.h"
#include "file_lists.h"

namespace {

using namespace cleanup_test;
using namespace robustness;

const unsigned kSeed = 1;
// setup.exe's exit code when it ended itself before the chosen call.
const DWORD kCutOffExit = 9;

// A hook as setup.exe calls it alone.
struct HookCall {
    const char* name;
    std::string arguments;
};

// The hooks of an installation and of a removal, each called as the engine
// calls them, in their order.
std::vector<std::vector<HookCall>> Scenarios() {
    return {{{"data move", DataMoveArguments(4)}, {"setup complete", SetupCompleteArguments(4)}},
            {{"uninstall", "uninit"}}};
}

// "setup complete:19" cuts off only there: a failure names its point, and
// this replays it alone.
std::string OnlyPoint() {
    char value[64] = {};
    GetEnvironmentVariableA("ORVANTA_ROBUSTNESS_CUT", value, sizeof value);
    return value;
}

// The tests' own installations, laid out with what earlier ones leave for
// the removal steps, and put back as they were when it goes: the old one
// holds the product's files, which the data move deletes with their folder;
// the current one task logs and task folders, which the removal deletes,
// beside a file of the administrator's own, which stays.
struct Installations {
    Installations() {
        CreateDirectoryA(kOldFolder, nullptr);
        for (const std::string& name : InstallationFiles())
            test_support::WriteFileBytes(std::string(kOldFolder) + "\\" + name, name + " of the old installation\r\n");
        const std::string folder = kInstallFolder;
        for (const std::string& inner :
             {folder, folder + "\\Station1Tasks", folder + "\\Station2Tasks", folder + "\\Station2Tasks\\Monday"})
            CreateDirectoryA(inner.c_str(), nullptr);
        test_support::WriteFileBytes(folder + "\\Station1TaskLog.txt", "task log\r\n");
        test_support::WriteFileBytes(folder + "\\Station3TaskLog.txt", "task log\r\n");
        test_support::WriteFileBytes(folder + "\\Station1Tasks\\backup.bat", "@ECHO OFF\r\n");
        test_support::WriteFileBytes(folder + "\\Station2Tasks\\Monday\\report.txt", "report\r\n");
        SetFileAttributesA((folder + "\\Station2Tasks\\Monday\\report.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        test_support::WriteFileBytes(folder + "\\Station notes.txt", "The administrator's own notes stay.\r\n");
    }

    test_support::FolderBackup old{kOldFolder}, current{kInstallFolder};
};

// What the hooks leave on the host, by place: the boot and profile files,
// the snapshot, the product's files, the folders they remove or remove
// from (both installations, the start-menu group, the copied INF files),
// and every registry branch they touch.
HostState Capture() {
    HostState state;
    for (const std::string& file : {std::string(kConfigSys), std::string(kAutoexecBat), std::string(kMsdosSys),
                                    WindowsFile("system.ini"), WindowsFile("win.ini"), WindowsFile("Wininit.ini"),
                                    WindowsFile("Orvanta.sys"), std::string(kSnapshotFolder) + "\\~ORVANTA.REG"}) {
        state[file] = test_support::FileExists(file) ? test_support::ReadFileBytes(file) : "(none)";
    }
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    for (const std::string& name : SystemFolderFiles()) {
        const std::string path = std::string(system) + "\\" + name;
        state[path] = test_support::FileExists(path) ? "present" : "(none)";
    }
    for (const std::string& folder : {std::string(kOldFolder), std::string(kInstallFolder), WindowsFile("inf")})
        CaptureFolder(folder, state);
    if (const std::string programs = test_support::StartMenuProgramsFolder(); !programs.empty()) {
        for (const char* group : {"Zelto", "Orvanta"}) CaptureFolder(programs + "\\" + group, state);
    }
    const std::pair<HKEY, const char*> branches[] = {
        {HKEY_LOCAL_MACHINE, "Software\\Quillon"},
        {HKEY_CURRENT_USER, "Software\\Quillon"},
        {HKEY_LOCAL_MACHINE, "Network\\Logon"},
        {HKEY_USERS, ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\ProfileReconciliation"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls"},
        {HKEY_LOCAL_MACHINE, kMachinePowerKey},
        {HKEY_CURRENT_USER, kUserPowerKey},
        {HKEY_USERS, kDefaultUserPowerKey},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Print"},
        {HKEY_LOCAL_MACHINE, "Enum"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\SetupX\\Inf\\OEM Name"},
    };
    for (const auto& [root, path] : branches)
        state[std::to_string(reinterpret_cast<uintptr_t>(root) & 0xFF) + ":" + path] =
            test_support::DumpKeyTree(root, path);
    return state;
}

// The call numbers at which a hook of that many calls is cut off: all of
// them in the long form; else every one of the first 60 (where the boot
// files, the profiles switch, the snapshot and the power scheme are
// written), then a spread to the last and a few drawn at random (seeded, so
// a run can be repeated).
std::vector<int> CutOffPoints(int calls, std::mt19937& random) {
    const int kEveryOne = 60, kSpread = 8, kDrawn = 3;
    std::set<int> points;
    for (int k = 1; k <= calls && (LongForm() || k <= kEveryOne); ++k) points.insert(k);
    if (calls > kEveryOne) {
        for (int i = 1; i <= kSpread; ++i) points.insert(kEveryOne + (calls - kEveryOne) * i / kSpread);
        std::uniform_int_distribution<int> any(kEveryOne + 1, calls);
        for (int i = 0; i < kDrawn; ++i) points.insert(any(random));
    }
    return {points.begin(), points.end()};
}

struct Figures {
    int hooks = 0, calls = 0, cutOffs = 0, crashes = 0, bootFilesTorn = 0, betweenRenames = 0, sectionsLost = 0,
        endsDiffering = 0;
};

class CrashCampaign : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(driver_.IsOpen()) << "the stand-in driver is not running";
        driver_.SetAtStation(false);
        ASSERT_TRUE(s3_.IsOpen()) << "the S3 support stand-in is not running";
    }

    // Cuts every hook of the scenario off at its points and checks each.
    void Campaign(const std::vector<HookCall>& scenario, std::mt19937& random, Figures& figures) {
        // The uninterrupted run: the state before and after each hook.
        std::vector<HostState> states;
        std::vector<int> calls;
        {
            KeptHost host;
            Installations installations;
            UseTestInstallation();
            states.push_back(Capture());
            for (const HookCall& hook : scenario) {
                HookRun run = RunHook(hook.arguments, true);
                ASSERT_EQ(run.exitCode, 0u) << hook.name << ": " << run.output;
                // Without a count there is no point to cut off at: the
                // campaign would try nothing and pass.
                if (run.calls <= 0)
                    ADD_FAILURE() << hook.name << " counted no call that changes the machine:\n" << run.output;
                calls.push_back(run.calls);
                states.push_back(Capture());
            }
        }
        for (size_t h = 0; h < scenario.size(); ++h) {
            ++figures.hooks;
            figures.calls += calls[h];
            for (int k : CutOffPoints(calls[h], random)) {
                const std::string point = std::string(scenario[h].name) + ":" + std::to_string(k);
                if (!OnlyPoint().empty() && OnlyPoint() != point) continue;
                ++figures.cutOffs;
                CutOff(scenario, h, k, states, figures);
            }
        }
    }

    void CutOff(const std::vector<HookCall>& scenario, size_t h, int k, const std::vector<HostState>& states,
                Figures& figures) {
        const std::string where = std::string(scenario[h].name) + " cut off before call " + std::to_string(k) +
                                  " (ORVANTA_ROBUSTNESS_CUT=\"" + scenario[h].name + ":" + std::to_string(k) + "\")";
        KeptHost host;
        Installations installations;
        UseTestInstallation();
        for (size_t before = 0; before < h; ++before) RunHook(scenario[before].arguments);
        const std::set<std::string> sectionsBefore[] = {ProfileSections(kMsdosSys),
                                                        ProfileSections(WindowsFile("system.ini")),
                                                        ProfileSections(WindowsFile("win.ini"))};
        HookRun cut = RunHook(scenario[h].arguments, true, k);
        if (cut.exitCode != kCutOffExit) {
            ++figures.crashes;
            ADD_FAILURE() << where << ": setup ended with " << cut.exitCode << "\n" << cut.output;
        }

        // Whole boot files: the text before the hook or the one after it.
        // Windows 95/98 cannot replace a file in one step, so between the
        // rewrite's two renames the boot file is away, its text whole under
        // the scratch name and the new one under the backup name; the next
        // run puts it back (the end is checked below).
        const std::pair<const char*, const char*> boots[] = {{kConfigSys, kConfigScratch},
                                                             {kAutoexecBat, "C:\\AUTOEXEC.$$$"}};
        for (const auto& [boot, scratch] : boots) {
            const std::string text =
                test_support::FileExists(boot) ? test_support::ReadFileBytes(boot) : std::string("(none)");
            if (text == "(none)" && text != states[h].at(boot) && test_support::FileExists(scratch) &&
                test_support::ReadFileBytes(scratch) == states[h].at(boot)) {
                ++figures.betweenRenames;
                continue;
            }
            if (text != states[h].at(boot) && text != states[h + 1].at(boot)) {
                ++figures.bootFilesTorn;
                ADD_FAILURE() << where << ": " << boot << " is neither the old nor the new text:\n" << text;
            }
        }
        const std::string profiles[] = {kMsdosSys, WindowsFile("system.ini"), WindowsFile("win.ini")};
        for (int i = 0; i < 3; ++i) {
            const std::set<std::string> now = ProfileSections(profiles[i]);
            for (const std::string& section : sectionsBefore[i]) {
                if (now.count(section)) continue;
                ++figures.sectionsLost;
                ADD_FAILURE() << where << ": " << profiles[i] << " lost its section [" << section << "]";
            }
        }

        // Run again, and the rest: the same end as without the cut.
        for (size_t again = h; again < scenario.size(); ++again) {
            HookRun run = RunHook(scenario[again].arguments);
            if (run.exitCode != 0) {
                ++figures.crashes;
                ADD_FAILURE() << where << ": " << scenario[again].name << " again ended with " << run.exitCode << "\n"
                              << run.output;
            }
        }
        const std::vector<std::string> differing = Differences(states.back(), Capture());
        if (!differing.empty()) {
            ++figures.endsDiffering;
            std::string list;
            for (const std::string& place : differing) list += "\n  " + place;
            ADD_FAILURE() << where << ": run again, it ends elsewhere than an uninterrupted run in" << list;
        }
    }

    test_support::CorehubClient driver_;
    test_support::S3Client s3_;
};

TEST_F(CrashCampaign, EveryHookCutOffAnywhereLeavesWholeFilesAndRunsToTheSameEnd) {
    std::mt19937 random(kSeed);
    Figures figures;
    for (const std::vector<HookCall>& scenario : Scenarios()) Campaign(scenario, random, figures);
    std::printf(
        "crash campaign (%s, seed %u): %d hooks, %d calls, %d cut-offs; crashes %d, boot files torn %d "
        "(between renames, whole: %d), sections lost %d, ends differing %d\n",
        LongForm() ? "long" : "short", kSeed, figures.hooks, figures.calls, figures.cutOffs, figures.crashes,
        figures.bootFilesTorn, figures.betweenRenames, figures.sectionsLost, figures.endsDiffering);
    EXPECT_GT(figures.cutOffs, 0);
}

}  // namespace
