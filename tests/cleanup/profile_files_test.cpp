// MSDOS.SYS, System.ini and Win.ini as the hooks leave them: Windows made
// to start its graphical shell, the product's drivers taken out of
// [386Enh] with the standard ones back, and the stations' display keys
// removed at uninstallation.
#include "cleanup_fixture.h"

namespace {

using namespace cleanup_test;
using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

class ProfileFiles : public CleanupTest {
protected:
    // MSDOS.SYS as the host keeps it: hidden, system, read-only. The
    // attributes it then has.
    static DWORD PutMsdosSys(const std::string& options) {
        WriteFileBytes(kMsdosSys, "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\n" + options + "Network=1\r\n");
        SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
        return GetFileAttributesA(kMsdosSys);
    }
    static std::string MsdosOptions() {
        std::string text = ReadFileBytes(kMsdosSys);
        size_t start = text.find("[Options]");
        return start == std::string::npos ? "" : text.substr(start);
    }
    static std::string Profile(const char* file, const char* section, const char* key) {
        char value[256] = {};
        GetPrivateProfileStringA(section, key, "(none)", value, sizeof value, WindowsFile(file).c_str());
        return value;
    }
    static std::string Section386Enh() {
        char buffer[8192] = {};
        DWORD length = GetPrivateProfileSectionA("386Enh", buffer, sizeof buffer, WindowsFile("system.ini").c_str());
        std::string entries;
        for (const char* entry = buffer; entry < buffer + length && *entry; entry += strlen(entry) + 1)
            entries += std::string(entry) + "|";
        return entries;
    }
    static void Put386Enh(const std::string& entries) {
        WritePrivateProfileSectionA("386Enh", entries.c_str(), WindowsFile("system.ini").c_str());
    }
};

TEST_F(ProfileFiles, BootGuiSwitchedOffIsSwitchedOnAndNothingElseChanges) {
    const DWORD attributes = PutMsdosSys("BootGUI=0\r\n");
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(GetPrivateProfileIntA("Options", "BootGUI", 99, kMsdosSys), 1u);
    EXPECT_EQ(GetPrivateProfileIntA("Options", "LoadTop", 99, kMsdosSys), 99u);
    EXPECT_EQ(GetPrivateProfileIntA("Options", "Network", 99, kMsdosSys), 1u);
    EXPECT_EQ(GetFileAttributesA(kMsdosSys), attributes) << "its attributes are put back";
}

TEST_F(ProfileFiles, LoadTopSwitchedOffIsRemoved) {
    const DWORD attributes = PutMsdosSys("BootGUI=0\r\nLoadTop=0\r\n");
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(GetPrivateProfileIntA("Options", "BootGUI", 99, kMsdosSys), 1u);
    EXPECT_EQ(MsdosOptions().find("LoadTop"), std::string::npos);
    EXPECT_EQ(GetFileAttributesA(kMsdosSys), attributes);

    PutMsdosSys("BootGUI=1\r\nLoadTop=0\r\n");
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(MsdosOptions().find("LoadTop"), std::string::npos);
}

TEST_F(ProfileFiles, MsdosSysIsLeftAloneWhenBothAreOnOrAbsent) {
    for (const char* options : {"", "BootGUI=1\r\nLoadTop=1\r\n"}) {
        const DWORD attributes = PutMsdosSys(options);
        const std::string before = ReadFileBytes(kMsdosSys);
        EXPECT_TRUE(DataMove(3));
        EXPECT_EQ(ReadFileBytes(kMsdosSys), before);
        EXPECT_EQ(GetFileAttributesA(kMsdosSys), attributes);
    }
    // Without the file there is nothing to switch on, and nothing is made.
    SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(kMsdosSys);
    EXPECT_TRUE(DataMove(3));
    EXPECT_FALSE(test_support::FileExists(kMsdosSys));
}

TEST_F(ProfileFiles, TheProductsDriversLeave386EnhWholeEntriesOnly) {
    Put386Enh(
        std::string("device=*vpicd\0Device=Corehub.VXD\0device=c:\\windows\\corehub.vxd\0DEVICE=SNDHUB.vxd\0"
                    "woafont=dosapp.fon\0keyboard=corehub.vxd\0display=corehub.vxd\0",
                    155));
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(Section386Enh(),
              "device=*vpicd|device=c:\\windows\\corehub.vxd|woafont=dosapp.fon|"
              "keyboard=*vkd|display=*vdd,*vflatd|");
    // A second [386Enh], as another installer may append it: the profile
    // functions read only the first, but its entries must not be lost, and
    // the product's driver goes from it too.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, WindowsFile("system.ini").c_str());
    const std::string systemIni = ReadFileBytes(WindowsFile("system.ini"));
    WriteFileBytes(WindowsFile("system.ini"),
                   systemIni + "\r\n[386Enh]\r\nLater=1\r\ndevice = corehub.vxd\r\n[Other]\r\nKept=1\r\n");
    EXPECT_TRUE(DataMove(3));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, WindowsFile("system.ini").c_str());
    const std::string after = ReadFileBytes(WindowsFile("system.ini"));
    EXPECT_NE(after.find("Later=1"), std::string::npos) << after;
    EXPECT_NE(after.find("woafont=dosapp.fon"), std::string::npos) << after;
    std::string lower = after;
    CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    EXPECT_EQ(lower.find("device=corehub.vxd"), std::string::npos) << after;
    EXPECT_EQ(lower.find("device = corehub.vxd"), std::string::npos) << after;
}

TEST_F(ProfileFiles, RemovalRestoresTheKeyboardButNotTheDisplay) {
    Put386Enh(std::string("Device=Corehub.VXD\0keyboard=corehub.vxd\0display=corehub.vxd\0", 60));
    EXPECT_EQ(Uninstall(), 0);
    EXPECT_EQ(Section386Enh(), "keyboard=*vkd|display=corehub.vxd|");
}

TEST_F(ProfileFiles, ALongSectionLosesTheProductsDriversAndOneTooLargeToReadIsNotWrittenBack) {
    auto entries = [](size_t size) {
        std::string entries = "device=corehub.vxd";
        entries += '\0';
        for (int i = 0; entries.size() < size; ++i) {
            entries += "device=filler" + std::to_string(i) + ".386";
            entries += '\0';
        }
        return entries;
    };
    // Longer than 4K, as a host with many drivers has it: read whole.
    Put386Enh(entries(5000));
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(Section386Enh().find("device=corehub.vxd|"), std::string::npos);
    EXPECT_NE(Section386Enh().find("device=filler200.386|"), std::string::npos);
    // Longer than Windows 95/98 read at once: written back it would be cut.
    Put386Enh(entries(40000));
    EXPECT_TRUE(DataMove(3));
    char buffer[65536] = {};
    GetPrivateProfileSectionA("386Enh", buffer, sizeof buffer, WindowsFile("system.ini").c_str());
    EXPECT_EQ(std::string(buffer), "device=corehub.vxd");
}

TEST_F(ProfileFiles, RemovalDeletesEachStationsDisplayKeys) {
    const std::string systemIni = WindowsFile("system.ini"), winIni = WindowsFile("win.ini");
    for (int station : {1, 3, 8}) {
        const std::string n = std::to_string(station);
        WritePrivateProfileStringA("boot.description", ("Station" + n + "Aspect").c_str(), "100,96,96",
                                   systemIni.c_str());
        for (const char* name : {"Display.drv", "Fonts.fon", "Fixedfon.fon", "Oemfonts.fon"})
            WritePrivateProfileStringA("boot", ("Station" + n + name).c_str(), "x", systemIni.c_str());
        WritePrivateProfileStringA("windows", ("Station" + n + "Device").c_str(), "HP,HPPCL,LPT1:", winIni.c_str());
    }
    WritePrivateProfileStringA("boot", "Station9Fonts.fon", "kept", systemIni.c_str());
    WritePrivateProfileStringA("windows", "Station9Device", "kept", winIni.c_str());

    EXPECT_EQ(Uninstall(), 0);
    for (int station : {1, 3, 8}) {
        const std::string n = std::to_string(station);
        EXPECT_EQ(Profile("system.ini", "boot.description", ("Station" + n + "Aspect").c_str()), "(none)");
        for (const char* name : {"Display.drv", "Fonts.fon", "Fixedfon.fon", "Oemfonts.fon"})
            EXPECT_EQ(Profile("system.ini", "boot", ("Station" + n + name).c_str()), "(none)") << n << name;
        EXPECT_EQ(Profile("win.ini", "windows", ("Station" + n + "Device").c_str()), "(none)");
    }
    EXPECT_EQ(Profile("system.ini", "boot", "Station9Fonts.fon"), "kept");
    EXPECT_EQ(Profile("system.ini", "boot", "shell"), "Explorer.exe");
    EXPECT_EQ(Profile("win.ini", "windows", "Station9Device"), "kept");
}

}  // namespace
