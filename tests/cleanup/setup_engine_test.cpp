// Cleanup.dll in the setup engine stand-in, end to end: an installation and
// a removal run through all hooks, and both stop at a station with the
// right message answered from outside.
#include "cleanup_fixture.h"

namespace {

using namespace cleanup_test;

const char kInstallFolder[] = "C:\\Orvanta Setup Test";

class SetupEngine : public CleanupTest {
protected:
    void TearDown() override {
        for (const char* file : {"zelto.exe", "ZELTO.DLL", "zelto.htm", "Cleanup.dll"})
            DeleteFileA((std::string(kInstallFolder) + "\\" + file).c_str());
        RemoveDirectoryA(kInstallFolder);
        CleanupTest::TearDown();
    }

    // Runs setup.exe with the arguments, its boxes answered; its exit code.
    DWORD RunSetup(const std::string& arguments, std::vector<test_support::ShownBox>& boxes) {
        test_support::Program setup(test_support::ProgramFolder() + "\\setup.exe", arguments, "", true);
        EXPECT_TRUE(setup.Started());
        test_support::MessageBoxWatcher watcher(setup.Id());
        DWORD exitCode = 0;
        EXPECT_TRUE(setup.WaitForExit(60000, &exitCode)) << setup.Output();
        boxes = watcher.Boxes();
        output_ = setup.Output();
        return exitCode;
    }

    std::string output_;
};

TEST_F(SetupEngine, InstallsAndRemovesTheProductThroughEveryHook) {
    test_support::WriteFileBytes(kConfigSys, "FILES=40\r\nDEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n");
    std::vector<test_support::ShownBox> boxes;
    ASSERT_EQ(
        RunSetup(std::string("install --type 4 --old \"") + oldFolder_ + "\" --dir \"" + kInstallFolder + "\"", boxes),
        0u)
        << output_;
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(test_support::FileExists(std::string(kInstallFolder) + "\\zelto.exe"));
    EXPECT_EQ(test_support::ReadFileBytes(kConfigSys),
              "FILES=40\r\nrem -- Zelto KX9 Setup -- added the next line on " + Today() +
                  "\r\ndevice=c:\\windows\\orvanta.sys\r\nDEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n");

    ASSERT_EQ(RunSetup("uninstall", boxes), 0u) << output_;
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(test_support::ReadFileBytes(kConfigSys), "FILES=40\r\nDEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n");
    EXPECT_FALSE(test_support::FileExists(std::string(kInstallFolder) + "\\zelto.exe"));
}

TEST_F(SetupEngine, AtAStationNeitherInstallationNorRemovalGoesOn) {
    ASSERT_TRUE(driver_.SetAtStation(true));
    std::vector<test_support::ShownBox> boxes;
    EXPECT_NE(RunSetup(std::string("install --old \"") + oldFolder_ + "\" --dir \"" + kInstallFolder + "\"", boxes), 0u)
        << output_;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Orvanta Setup");
    EXPECT_TRUE(boxes[0].icon);
    EXPECT_NE(boxes[0].owner, nullptr) << "owned by the engine's window";
    EXPECT_FALSE(test_support::FileExists(std::string(kInstallFolder) + "\\zelto.exe"));

    EXPECT_NE(RunSetup("uninstall", boxes), 0u) << output_;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption.rfind("Uninstall ", 0), 0u);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key), ERROR_SUCCESS) << "still installed";
    RegCloseKey(key);
}

}  // namespace
