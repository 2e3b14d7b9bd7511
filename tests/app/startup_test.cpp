// zelto.exe started as the administrator starts it, watched through its
// windows and through the stand-in driver's request log.
#include <gtest/gtest.h>

#include <string>

#include "corehub_client.h"
#include "program_driver.h"
#include "registry_backup.h"
#include "resource_ids.h"

namespace {

using test_support::Program;

const char kMainClass[] = "OrvantaZqControlCenter";

// A text of the resource library as the program shows it.
std::string LibraryText(UINT id) {
    HMODULE library = LoadLibraryA("ZELTO.DLL");
    char text[1024] = {};
    LoadStringA(library, id, text, sizeof text);
    FreeLibrary(library);
    return text;
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(driver_.IsOpen()) << "the stand-in driver is not running";
        driver_.Reset();
        driver_.SetAbsent(false);
    }
    void TearDown() override {
        driver_.SetAbsent(false);
        driver_.Reset();
    }

    std::string Zelto() const { return test_support::ProgramFolder() + "\\zelto.exe"; }

    test_support::CorehubClient driver_;
    // The window position and the recent files land here.
    test_support::RegistryBackup profile_{HKEY_CURRENT_USER, "Software\\Quillon"};
    test_support::RegistryBackup stations_{HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta\\Setup"};
};

TEST_F(Startup, ACopyWithoutItsResourceLibraryNamesTheLibraryAndEnds) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "zelto-copy";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string copy = folder + "\\abc.exe";
    ASSERT_TRUE(CopyFileA(Zelto().c_str(), copy.c_str(), FALSE));
    {
        Program program(copy, "", folder);
        ASSERT_TRUE(program.Started());
        HWND box = program.WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(test_support::MessageBoxText(box), "Can not find resource library ABC.DLL, can not continue.");
        EXPECT_TRUE(test_support::MessageBoxHasIcon(box));
        test_support::PressButton(box, IDOK);
        EXPECT_TRUE(program.WaitForExit(10000));
        EXPECT_EQ(program.WindowsOfClass(kMainClass).size(), 0u);
    }
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
    EXPECT_TRUE(driver_.Requests().empty());
}

// Wine, reporting Windows 9x, opens a device name that no driver serves as
// the VxD of that name in the system folder, where the host keeps the
// stand-in Corehub.vxd (a file with a version record only), and hands back
// a handle: the driver cannot be made absent there.
#define SKIP_WHERE_THE_DRIVER_CANNOT_BE_ABSENT() \
    if (GetVersion() & 0x80000000) GTEST_SKIP() << "Wine opens \\\\.\\Corehub as a VxD as Windows 9x"

TEST_F(Startup, WithoutTheDriverItSaysSoOnceAndOpensItsWindow) {
    SKIP_WHERE_THE_DRIVER_CANNOT_BE_ABSENT();
    ASSERT_TRUE(driver_.SetAbsent(true));
    Program program(Zelto(), "");
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_NO_DRIVER));
    test_support::PressButton(box, IDOK);

    // The caption is put on after the window has been created and shown, so wait for it.
    HWND main = program.WaitForWindow([](HWND window) {
        return test_support::ClassName(window) == kMainClass &&
               test_support::WindowText(window) == "Zelto Control Center";
    });
    ASSERT_NE(main, nullptr) << "no main window with its caption";
    EXPECT_EQ(program.WaitForMessageBox(500), nullptr) << "the message must show once";
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
    EXPECT_TRUE(driver_.Requests().empty());
}

TEST_F(Startup, AutoLaunchWithoutTheDriverSaysSoAndEndsWithoutARequest) {
    SKIP_WHERE_THE_DRIVER_CANNOT_BE_ABSENT();
    ASSERT_TRUE(driver_.SetAbsent(true));
    Program program(Zelto(), "/AutoLaunch");
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_NO_DRIVER));
    test_support::PressButton(box, IDOK);
    EXPECT_TRUE(program.WaitForExit(10000));
    EXPECT_TRUE(driver_.Requests().empty());
}

TEST_F(Startup, AutoLaunchMakesOneRequestAndEndsWithoutAWindow) {
    // BlueScreen given as well: the auto-launch alone is performed.
    Program program(Zelto(), "/a -BlueScreen");
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(15000, &exitCode));
    EXPECT_TRUE(program.Windows().empty());
    auto requests = driver_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, 0x22081Au);
}

TEST_F(Startup, BlueScreenShowsTheMessageLogAndEnds) {
    Program program(Zelto(), "B");
    HWND log =
        program.WaitForWindow([](HWND window) { return test_support::WindowText(window) == "Station Message Log"; });
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(program.WindowsOfClass(kMainClass).empty());
    test_support::PressButton(log, IDOK);
    EXPECT_TRUE(program.WaitForExit(10000));
}

TEST_F(Startup, WordsThatChangeNothingStartNormally) {
    for (const char* words : {"Help", "/Register", "-u"}) {
        Program program(Zelto(), words);
        HWND main = program.WaitForWindowOfClass(kMainClass);
        ASSERT_NE(main, nullptr) << words;
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.WaitForExit(10000)) << words;
    }
    EXPECT_TRUE(driver_.Requests().empty());
}

TEST_F(Startup, ASecondStartRestoresTheMinimisedFirstAndEnds) {
    Program first(Zelto(), "");
    HWND main = first.WaitForWindowOfClass(kMainClass);
    ASSERT_NE(main, nullptr);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));

    Program second(Zelto(), "");
    EXPECT_TRUE(second.WaitForExit(10000));
    EXPECT_TRUE(second.Windows().empty());
    DWORD start = GetTickCount();
    while (IsIconic(main) && GetTickCount() - start < 5000) Sleep(50);
    EXPECT_FALSE(IsIconic(main));

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitForExit(10000));
}

}  // namespace
