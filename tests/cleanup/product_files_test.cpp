// What an earlier installation left and the hooks remove: its files in the
// old installation, Windows and system folders, its registry values and
// keys, its start-menu group; user profiles switched on; shared-file counts;
// and at removal the task and start-up folders, asked for one by one. No
// path formed from registry data may lead a deletion out of its folder.
#include "cleanup_fixture.h"
#include "registry_values.h"

namespace {

using namespace cleanup_test;
using test_support::FileExists;
using test_support::KeyExists;
using test_support::PutNumber;
using test_support::PutText;
using test_support::ReadText;
using test_support::WriteFileBytes;

bool HasValue(HKEY root, const std::string& path, const char* name) {
    return test_support::ReadValue(root, path, name).present;
}
DWORD Number(HKEY root, const std::string& path, const char* name) {
    test_support::StoredValue value = test_support::ReadValue(root, path, name);
    DWORD number = 0xFFFFFFFF;
    if (value.present && value.bytes.size() == sizeof number) memcpy(&number, value.bytes.data(), sizeof number);
    return number;
}

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kDefaultShellFolders[] = ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kReconciliation[] = ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\ProfileReconciliation";
const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

// A folder tree made for a test and gone after it, whatever the test did.
class TestFolder {
public:
    explicit TestFolder(std::string path) : path_(std::move(path)) { CreateDirectoryA(path_.c_str(), nullptr); }
    ~TestFolder() { test_support::RemoveFolder(path_); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name, const std::string& text = "x") const {
        const std::string path = path_ + "\\" + name;
        WriteFileBytes(path, text);
        return path;
    }

private:
    std::string path_;
};

class ProductFiles : public CleanupTest {
protected:
    test_support::RegistryBackup shellFolders_{HKEY_CURRENT_USER, kShellFolders};
    test_support::RegistryBackup defaultShellFolders_{HKEY_USERS, kDefaultShellFolders};
    test_support::RegistryBackup setup_{HKEY_LOCAL_MACHINE, kSetupKey};
};

// ---- Before the copy ------------------------------------------------------

TEST_F(ProductFiles, TheOldInstallationLosesItsListedFilesAndGoesWhenNothingElseIsLeft) {
    TestFolder old(oldFolder_);
    for (const char* name : {"zelto.exe", "ZELTO.DLL", "Uninst.isu", "Cleanup.dll", "Localmon.dll", "StnTest.txt"})
        old.File(name);
    EXPECT_TRUE(DataMove(3));
    EXPECT_FALSE(FileExists(oldFolder_));

    TestFolder kept(oldFolder_);
    kept.File("zelto.exe");
    kept.File("Notes of the administrator.txt");
    // Read-only: it cannot be deleted here, and the next names are tried.
    const std::string locked = kept.File("Readme.txt");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    kept.File("StnTest.exe");
    EXPECT_TRUE(DataMove(3));
    EXPECT_FALSE(FileExists(oldFolder_ + "\\zelto.exe"));
    EXPECT_FALSE(FileExists(oldFolder_ + "\\StnTest.exe"));
    EXPECT_TRUE(FileExists(oldFolder_ + "\\Notes of the administrator.txt"));
    EXPECT_TRUE(FileExists(oldFolder_));
    EXPECT_TRUE(Boxes().empty()) << "failures are not shown";
}

TEST_F(ProductFiles, TheWindowsAndSystemFoldersLoseTheProductsDrivers) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    const std::string folder = std::string(system) + "\\", driver = WindowsFile("Orvanta.sys"),
                      foreign = folder + "vfoo.vxd";
    // The station manager, station, keyboard and serial drivers and the
    // serial ports' property pages, by the names the product installs them.
    std::vector<std::string> product = {driver};
    for (const char* name : {"Corehub.vxd", "Trellmon.vxd", "Keyrelay.vxd", "Serlink.vxd", "Serlink.dll"})
        product.push_back(folder + name);
    test_support::FileBackup keepDriver(driver), keepForeign(foreign);
    for (const std::string& path : product) WriteFileBytes(path, "x");
    WriteFileBytes(foreign, "x");
    EXPECT_TRUE(DataMove(3));
    for (const std::string& path : product) EXPECT_FALSE(FileExists(path)) << path;
    EXPECT_TRUE(FileExists(foreign));
}

TEST_F(ProductFiles, TheProductsValuesTheSetupKeyTheMakersKeyAndEarlierReleasesGo) {
    const std::string product = kProductKey;
    for (const char* name :
         {"Orvanta Interface", "AutoLaunch Enabled", "Install Directory", "Install Language", "Install Menu",
          "Launch Delay", "RefreshRate", "Shutdown Default", "Shutdown Enabled", "Station Display", "Station Mode"})
        PutText(HKEY_LOCAL_MACHINE, product, name, "x");
    PutText(HKEY_LOCAL_MACHINE, product, "Serial Number", "kept");
    PutText(HKEY_LOCAL_MACHINE, std::string(kSetupKey) + "\\Station1", "Station Name", "Front Desk");
    PutText(HKEY_CURRENT_USER, "Software\\Quillon\\zelto\\Window", "Left", "10");
    for (const char* release : {"1.00", "2.00.01", "3.06", "4.00"}) {
        PutText(HKEY_LOCAL_MACHINE, product + "\\" + release, "Licensed To", "x");
        PutText(HKEY_LOCAL_MACHINE, std::string("Software\\Quillon\\Zelto\\") + release, "Licensed To", "x");
    }
    EXPECT_TRUE(DataMove(3));

    for (const char* name : {"Orvanta Interface", "AutoLaunch Enabled", "Install Directory", "Station Mode"})
        EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, product, name)) << name;
    // Written again by this very hook, first of all; then deleted with the rest.
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, product, "Product Type"));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, product, "Serial Number"), "kept");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSetupKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Quillon"));
    for (const char* release : {"1.00", "2.00.01", "3.06"}) {
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, product + "\\" + release)) << release;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string("Software\\Quillon\\Zelto\\") + release)) << release;
    }
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, product + "\\4.00")) << "the current release's key stays";
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Zelto\\4.00"));
}

TEST_F(ProductFiles, TheStartMenuGroupIsNamedByTheInstallationOrByTheBrand) {
    TestFolder programs("C:\\Start Menu Test");
    PutText(HKEY_CURRENT_USER, kShellFolders, "Programs", programs.Path());
    TestFolder zelto(programs.Path() + "\\Zelto");
    zelto.File("Zelto Control Center.lnk");
    zelto.File("Read Me.lnk");
    PutText(HKEY_LOCAL_MACHINE, kProductKey, "Install Menu", "");
    EXPECT_TRUE(DataMove(3));
    EXPECT_FALSE(FileExists(zelto.Path()));

    TestFolder named(programs.Path() + "\\Harbour Stations");
    named.File("Online Guide.lnk");
    named.File("My own shortcut.lnk");
    PutText(HKEY_LOCAL_MACHINE, kProductKey, "Install Menu", "Harbour Stations");
    EXPECT_TRUE(DataMove(2));
    EXPECT_FALSE(FileExists(named.Path() + "\\Online Guide.lnk"));
    EXPECT_TRUE(FileExists(named.Path() + "\\My own shortcut.lnk")) << "not the product's: the group stays";

    TestFolder orvanta(programs.Path() + "\\Orvanta");
    orvanta.File("Uninstall Orvanta.lnk");
    test_support::DeleteValue(HKEY_LOCAL_MACHINE, kProductKey, "Install Menu");
    EXPECT_TRUE(DataMove(1));
    EXPECT_FALSE(FileExists(orvanta.Path()));

    // A group inside a group of the maker's.
    TestFolder maker(programs.Path() + "\\Quillon");
    TestFolder nested(maker.Path() + "\\Orvanta");
    nested.File("Zelto Control Center.lnk");
    PutText(HKEY_LOCAL_MACHINE, kProductKey, "Install Menu", "Quillon\\Orvanta");
    EXPECT_TRUE(DataMove(3));
    EXPECT_FALSE(FileExists(nested.Path()));
    EXPECT_TRUE(FileExists(maker.Path()));
}

TEST_F(ProductFiles, NoDeletionFollowsAPathOutOfItsFolder) {
    TestFolder programs("C:\\Start Menu Test");
    PutText(HKEY_CURRENT_USER, kShellFolders, "Programs", programs.Path());
    TestFolder outside("C:\\Outside Test");
    outside.File("Read Me.lnk");
    outside.File("zelto.exe");
    oldFolder_ = "C:\\Orvanta Old Test\\..\\Outside Test";
    for (const char* group : {"..\\Outside Test", "Quillon\\..\\..\\Outside Test", "C:\\Outside Test"}) {
        PutText(HKEY_LOCAL_MACHINE, kProductKey, "Install Menu", group);
        EXPECT_TRUE(DataMove(3));
    }
    oldFolder_ = "";
    EXPECT_TRUE(DataMove(3));
    EXPECT_TRUE(FileExists(outside.Path() + "\\Read Me.lnk"));
    EXPECT_TRUE(FileExists(outside.Path() + "\\zelto.exe"));
}

TEST_F(ProductFiles, UserProfilesAreSwitchedOnWithTheirReconciliationEntries) {
    HKEY logon = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, "Network\\Logon", &logon);
    RegDeleteValueA(logon, "UserProfiles");
    RegCloseKey(logon);
    PutText(HKEY_USERS, kDefaultShellFolders, "Desktop", WindowsFile("Desktop"));
    PutText(HKEY_USERS, kDefaultShellFolders, "Recent", "C:\\Rec");
    for (const char* shared : {"Start Menu", "Programs", "Startup"})
        PutText(HKEY_USERS, std::string(kReconciliation) + "\\" + shared, "CentralFile", shared);

    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, "Network\\Logon", "UserProfiles"), 1u);
    const std::string desktop = std::string(kReconciliation) + "\\Desktop";
    EXPECT_EQ(ReadText(HKEY_USERS, desktop, "CentralFile"), "Desktop");
    EXPECT_EQ(ReadText(HKEY_USERS, desktop, "DefaultDir"), "*windir\\Desktop");
    EXPECT_EQ(ReadText(HKEY_USERS, desktop, "LocalFile"), "Desktop");
    EXPECT_EQ(ReadText(HKEY_USERS, desktop, "Name"), "*.lnk,*.pif");
    EXPECT_EQ(ReadText(HKEY_USERS, desktop, "RegKey"),
              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders");
    EXPECT_EQ(ReadText(HKEY_USERS, desktop, "RegValue"), "Desktop");
    EXPECT_EQ(Number(HKEY_USERS, desktop, "Default"), 1u);
    EXPECT_EQ(Number(HKEY_USERS, desktop, "MustBeRelative"), 1u);
    // Not longer than the Windows folder: the folder's own name.
    EXPECT_EQ(ReadText(HKEY_USERS, std::string(kReconciliation) + "\\Recent", "CentralFile"), "Recent");
    EXPECT_EQ(ReadText(HKEY_USERS, std::string(kReconciliation) + "\\NetHood", "DefaultDir"), "*windir\\NetHood");
    for (const char* shared : {"Start Menu", "Programs", "Startup"})
        EXPECT_FALSE(KeyExists(HKEY_USERS, std::string(kReconciliation) + "\\" + shared)) << shared;

    // Already on: the entries are left as they are.
    PutText(HKEY_USERS, desktop, "CentralFile", "Changed");
    EXPECT_TRUE(DataMove(3));
    EXPECT_EQ(ReadText(HKEY_USERS, desktop, "CentralFile"), "Changed");
}

// ---- After the copy ---------------------------------------------------------

TEST_F(ProductFiles, SharedFileCountsBecomeOneWhereACountExists) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    const std::string library = installFolder_ + "\\Cleanup.dll", driver = WindowsFile("Orvanta.sys"),
                      loader = std::string(system) + "\\Stnload.vxd", sound = std::string(system) + "\\Sndhub.vxd";
    PutNumber(HKEY_LOCAL_MACHINE, kSharedDlls, library.c_str(), 3);
    PutNumber(HKEY_LOCAL_MACHINE, kSharedDlls, driver.c_str(), 2);
    PutNumber(HKEY_LOCAL_MACHINE, kSharedDlls, loader.c_str(), 5);
    EXPECT_TRUE(SetupComplete(3));
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, kSharedDlls, library.c_str()), 1u);
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, kSharedDlls, driver.c_str()), 1u);
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, kSharedDlls, loader.c_str()), 5u) << "the loader keeps its count";
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kSharedDlls, sound.c_str())) << "no count is made";
}

// ---- At removal ---------------------------------------------------------------

TEST_F(ProductFiles, TaskLogsGoWithoutAskingAndEachTaskFolderIsAskedFor) {
    UseTestInstallation();
    TestFolder install(installFolder_);
    for (int station = 1; station <= 8; ++station) install.File("Station" + std::to_string(station) + "TaskLog.txt");
    TestFolder tasks1(install.Path() + "\\Station1Tasks");
    TestFolder nested(tasks1.Path() + "\\Monday");
    const std::string locked = nested.File("report.txt");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    TestFolder tasks3(install.Path() + "\\Station3Tasks");
    tasks3.File("job.txt");

    boxes_.SetAnswer(IDYES);
    ASSERT_EQ(Uninstall(), 0);
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, tasks1.Path());
    EXPECT_EQ(boxes[0].caption, "Delete this folder and all its contents?");
    EXPECT_EQ(boxes[0].buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_TRUE(boxes[0].icon);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[1].text, tasks3.Path());
    EXPECT_FALSE(FileExists(tasks1.Path())) << "removed with the read-only file inside";
    EXPECT_FALSE(FileExists(tasks3.Path()));
    for (int station = 1; station <= 8; ++station)
        EXPECT_FALSE(FileExists(install.Path() + "\\Station" + std::to_string(station) + "TaskLog.txt"));
}

TEST_F(ProductFiles, NoLeavesTheFolderWhole) {
    UseTestInstallation();
    TestFolder install(installFolder_);
    TestFolder tasks(install.Path() + "\\Station2Tasks");
    tasks.File("job.txt");
    boxes_.SetAnswer(IDNO);
    ASSERT_EQ(Uninstall(), 0);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(FileExists(tasks.Path() + "\\job.txt"));
}

TEST_F(ProductFiles, TheStartUpFolderIsNamedAfterTheSystem) {
    UseTestInstallation();
    TestFolder programs("C:\\Start Menu Test");
    PutText(HKEY_CURRENT_USER, kShellFolders, "Programs", programs.Path());
    PutText(HKEY_LOCAL_MACHINE, kSetupKey, "SystemNameString", "Harbour KX4");
    TestFolder startup(programs.Path() + "\\Startup Harbour KX4");
    startup.File("Zelto AutoLaunch.lnk");
    boxes_.SetAnswer(IDYES);
    ASSERT_EQ(Uninstall(), 0);
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, startup.Path());
    EXPECT_FALSE(FileExists(startup.Path()));
}

TEST_F(ProductFiles, RemovalAsksForNothingOutsideTheInstallation) {
    TestFolder outside("C:\\Outside Test");
    TestFolder tasks(outside.Path() + "\\Station1Tasks");
    outside.File("Station1TaskLog.txt");
    TestFolder programs("C:\\Start Menu Test");
    PutText(HKEY_CURRENT_USER, kShellFolders, "Programs", programs.Path());
    PutText(HKEY_LOCAL_MACHINE, kSetupKey, "SystemNameString", "..\\..\\Outside Test");
    boxes_.SetAnswer(IDYES);
    for (const char* install : {"", "Outside Test", "C:\\Orvanta\\..\\Outside Test"}) {
        PutText(HKEY_LOCAL_MACHINE, kProductKey, "Install Directory", install);
        ASSERT_EQ(Uninstall(), 0);
    }
    // "Startup " with nothing after it names the user's own Startup folder.
    TestFolder startup(programs.Path() + "\\Startup");
    startup.File("Mail.lnk");
    for (const char* system : {"", "  ", "..", " ."}) {
        PutText(HKEY_LOCAL_MACHINE, kSetupKey, "SystemNameString", system);
        ASSERT_EQ(Uninstall(), 0);
    }
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(FileExists(startup.Path() + "\\Mail.lnk"));
    EXPECT_TRUE(FileExists(tasks.Path()));
    EXPECT_TRUE(FileExists(outside.Path() + "\\Station1TaskLog.txt"));
}

}  // namespace
