// Setup and removal on a freshly laid-out host PC, as the administrator runs
// them: install over the configured installation, install again, uninstall.
// The configuration must survive both installations, and after the removal
// nothing of the product may remain in the places the setup library
// cleans. This suite changes the host for good: scripts/test runs it on a
// host of its own, after the suites that need the host as laid out.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "file_backup.h"
#include "host_folders.h"
#include "message_box_watcher.h"
#include "program_driver.h"
#include "registry_values.h"

namespace {

using test_support::FileExists;
using test_support::ReadFileBytes;

const char kProductKey[] = "Software\\Quillon\\Orvanta";
const char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";
const char kInstallFolder[] = "C:\\Program Files\\Orvanta";

// The board and station configuration: every value below the setup key's
// subkeys, but those a new installation writes itself.
test_support::ValueMap Configuration() {
    static const char* const kRewritten[] = {"DriverDate", "DriverVersion", "Ver", "HWRevision", "Current User"};
    test_support::ValueMap values = test_support::AllValues(HKEY_LOCAL_MACHINE, kSetupKey);
    for (auto entry = values.begin(); entry != values.end();) {
        const std::string& where = entry->first;
        const std::string name = where.substr(where.find('|') + 1);
        bool rewritten = where.rfind(std::string(kSetupKey) + "|", 0) == 0;
        for (const char* skipped : kRewritten) rewritten = rewritten || lstrcmpiA(name.c_str(), skipped) == 0;
        entry = rewritten ? values.erase(entry) : std::next(entry);
    }
    return values;
}

using test_support::KeyExists;

std::string Profile(const char* file, const char* section, const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA(section, key, "(none)", value, sizeof value, file);
    return value;
}

std::string Lower(std::string text) {
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

struct SetupRun {
    DWORD exitCode = 0;
    std::string output;
    std::vector<test_support::ShownBox> boxes;
};

SetupRun RunSetup(const std::string& arguments) {
    SetupRun run;
    test_support::Program setup(test_support::ProgramFolder() + "\\setup.exe", arguments, "", true);
    test_support::MessageBoxWatcher watcher(setup.Id(), IDYES);
    EXPECT_TRUE(setup.WaitForExit(120000, &run.exitCode));
    run.output = setup.Output();
    run.boxes = watcher.Boxes();
    return run;
}

TEST(HostCycle, InstallTwiceThenUninstallLeavesNothingOfTheProduct) {
    const test_support::ValueMap configuration = Configuration();
    ASSERT_GT(configuration.size(), 20u) << "the host's installation is configured";

    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE("installation " + std::to_string(run));
        SetupRun install = RunSetup("install");
        ASSERT_EQ(install.exitCode, 0u) << install.output;
        EXPECT_TRUE(install.boxes.empty()) << install.boxes[0].text;
        EXPECT_EQ(Configuration(), configuration);
        EXPECT_TRUE(FileExists(std::string(kInstallFolder) + "\\zelto.exe"));
    }
    const std::string config = ReadFileBytes("C:\\CONFIG.SYS");
    EXPECT_NE(Lower(config).find("device=c:\\windows\\orvanta.sys"), std::string::npos);

    SetupRun uninstall = RunSetup("uninstall");
    ASSERT_EQ(uninstall.exitCode, 0u) << uninstall.output;
    const std::string programs = test_support::StartMenuProgramsFolder();
    std::vector<std::string> asked;
    for (const auto& box : uninstall.boxes) asked.push_back(box.text);
    EXPECT_EQ(asked, (std::vector<std::string>{programs + "\\Startup Zelto KX4",
                                               std::string(kInstallFolder) + "\\Station1Tasks",
                                               std::string(kInstallFolder) + "\\Station2Tasks"}));

    // Boot and initialization files.
    EXPECT_EQ(Lower(ReadFileBytes("C:\\CONFIG.SYS")).find("orvanta"), std::string::npos);
    EXPECT_EQ(Lower(ReadFileBytes("C:\\AUTOEXEC.BAT")).find("s3dm"), std::string::npos);
    char section[4096] = {};
    GetPrivateProfileSectionA("386Enh", section, sizeof section, "system.ini");
    for (const char* entry = section; *entry; entry += strlen(entry) + 1) {
        EXPECT_NE(Lower(entry), "device=corehub.vxd");
        EXPECT_NE(Lower(entry), "device=sndhub.vxd");
    }
    EXPECT_EQ(Profile("system.ini", "boot", "Station1Display.drv"), "(none)");
    EXPECT_EQ(Profile("system.ini", "boot.description", "Station4Aspect"), "(none)");

    // Registry.
    EXPECT_FALSE(KeyExists(kProductKey));
    EXPECT_FALSE(KeyExists("Software\\Quillon\\Zelto\\2.10"));
    for (const char* key : {"Enum\\Root\\Ternway", "Enum\\Root\\ZeltoKX9", "Enum\\ISAPNP\\KQZ0000",
                            "Enum\\Pci\\VEN_1023&DEV_9750&SUBSYS_00000000", "Enum\\Pci\\VEN_1490&DEV_1000",
                            "Enum\\Pci\\VEN_5333&DEV_8A20&SUBSYS_00000000&REV_03\\BUS_01&DEV_00&FUNC_01",
                            "System\\CurrentControlSet\\Services\\Class\\DevurOvezovuVovezuv",
                            "System\\CurrentControlSet\\Services\\Class\\Display\\0001",
                            "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0004"})
        EXPECT_FALSE(KeyExists(key)) << key;
    // The host's own devices stay.
    EXPECT_TRUE(KeyExists("Enum\\Pci\\VEN_5333&DEV_8A20&SUBSYS_00000000&REV_03\\BUS_01&DEV_00&FUNC_00"));
    EXPECT_TRUE(KeyExists("System\\CurrentControlSet\\Services\\Class\\Display\\0000"));

    // Files and folders.
    for (const std::string& path :
         {std::string("C:\\windows\\Orvanta.sys"), std::string("C:\\windows\\system32\\Corehub.vxd"),
          std::string("C:\\windows\\inf\\s3svg.inf"), std::string("C:\\windows\\inf\\other\\TC Labs3DM.INF"),
          std::string(kInstallFolder) + "\\zelto.exe", std::string(kInstallFolder) + "\\Orvanta.exe",
          std::string(kInstallFolder) + "\\Station1Tasks", std::string(kInstallFolder) + "\\Station1TaskLog.txt",
          programs + "\\Zelto", programs + "\\Startup Zelto KX4"})
        EXPECT_FALSE(FileExists(path)) << path;
    // The administrator's own file stays, and with it the folder.
    EXPECT_TRUE(FileExists(std::string(kInstallFolder) + "\\Station notes.txt"));
}

}  // namespace
