// The hooks as the setup engine and the uninstaller call them: the product
// they record, the refusal at a station, the display driver probe and its
// failure reports, and what the library is (its exports and version).
#include <algorithm>
#include <cstring>

#include "cleanup_fixture.h"
#include "registry_values.h"

namespace {

using namespace cleanup_test;
using test_support::KeyExists;
using test_support::PutText;
using test_support::ReadValue;

std::string SystemText(DWORD error) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text - 1, nullptr);
    return text;
}

using Hooks = CleanupTest;

// ---- The product recorded ------------------------------------------------

TEST_F(Hooks, EachSetupHookRecordsTheProductInTheProductKey) {
    const struct {
        int code;
        const char* name;
    } products[] = {{1, "Orvanta Ensemble"}, {2, "Orvanta Zq"}, {3, "Zelto KX4"}, {4, "Zelto KX9"}, {7, "[Unknown]:"}};
    for (const auto& product : products) {
        SCOPED_TRACE(product.code);
        EXPECT_TRUE(SetupComplete(product.code));
        test_support::StoredValue name = ReadValue(HKEY_LOCAL_MACHINE, kProductKey, "Product Name");
        EXPECT_EQ(name.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(name.bytes, std::string(product.name) + '\0');
        test_support::StoredValue type = ReadValue(HKEY_LOCAL_MACHINE, kProductKey, "Product Type");
        EXPECT_EQ(type.type, static_cast<DWORD>(REG_BINARY));
        EXPECT_EQ(type.bytes, std::string(1, static_cast<char>(product.code)));
    }
    // An unknown code is no reason to ask anything.
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Hooks, WithoutTheProductKeyTheCodeIsKeptInMemoryAndNothingIsWritten) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    test_support::WriteFileBytes(kConfigSys, "FILES=40\r\n");
    EXPECT_TRUE(DataMove(3));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    // The comment above the product's line names the product of the code.
    EXPECT_NE(test_support::ReadFileBytes(kConfigSys).find("rem -- Zelto KX4 Setup -- added the next line on "),
              std::string::npos);
}

TEST_F(Hooks, AnUnrecordedProductIsQuestionedAtEachDecisionThatDependsOnIt) {
    // The printer move and the port monitor file ask whether the product
    // had station ports; without a recorded start-menu group the group's
    // brand is asked for as well, and the Orvanta forms are taken.
    test_support::DeleteValue(HKEY_LOCAL_MACHINE, kProductKey, "Install Menu");
    const std::string programs = "C:\\Start Menu Test";
    CreateDirectoryA(programs.c_str(), nullptr);
    CreateDirectoryA((programs + "\\Orvanta").c_str(), nullptr);
    test_support::RegistryBackup shellFolders(HKEY_CURRENT_USER,
                                              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    PutText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs",
            programs);
    EXPECT_TRUE(DataMove(0));
    auto boxes = Boxes();
    EXPECT_EQ(boxes.size(), 3u);
    for (const auto& box : boxes) EXPECT_EQ(box.caption, "Orvanta Cleanup.dll");
    const bool groupRemoved = !test_support::FileExists(programs + "\\Orvanta");
    RemoveDirectoryA((programs + "\\Orvanta").c_str());
    RemoveDirectoryA(programs.c_str());
    EXPECT_TRUE(groupRemoved);
}

// ---- At a station --------------------------------------------------------

TEST_F(Hooks, AtAStationTheWelcomeHookShowsTheEnginesTextAndStopsSetup) {
    ASSERT_TRUE(driver_.SetAtStation(true));
    HWND owner = CreateWindowA("STATIC", "Orvanta Setup", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(Welcome(3, owner, "Orvanta Setup", "Please run Setup at the Host PC console."));
    DestroyWindow(owner);

    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Orvanta Setup");
    EXPECT_EQ(boxes[0].text, "Please run Setup at the Host PC console.");
    EXPECT_EQ(boxes[0].owner, owner);
    EXPECT_TRUE(boxes[0].icon);
    EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
    // The display driver is not even tried.
    EXPECT_EQ(s3_.Status().opens, 0u);
    // The product is recorded all the same: it comes first.
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductKey, "Product Type").bytes, std::string(1, '\3'));
}

TEST_F(Hooks, AtAStationTheUninstallerIsStoppedWithTheSystemsName) {
    PutText(HKEY_LOCAL_MACHINE, kSetupKey, "SystemNameString", "Harbour KX4");
    test_support::WriteFileBytes(kConfigSys, "DEVICE=C:\\WINDOWS\\ORVANTA.SYS\r\n");
    ASSERT_TRUE(driver_.SetAtStation(true));
    EXPECT_EQ(Uninstall(), -1);

    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Uninstall Harbour KX4");
    EXPECT_EQ(boxes[0].text,
              "Uninstall has determined you are trying to uninstall Harbour KX4 from the Harbour KX4 station. This "
              "will not work properly.\n\nPlease uninstall Harbour KX4 from the Host PC console.\n\nPress OK to exit "
              "uninstall.");
    EXPECT_TRUE(boxes[0].icon);
    EXPECT_EQ(test_support::ReadFileBytes(kConfigSys), "DEVICE=C:\\WINDOWS\\ORVANTA.SYS\r\n") << "nothing changed";
}

TEST_F(Hooks, WithoutASystemNameTheUninstallMessageSaysOrvanta) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSetupKey);
    ASSERT_TRUE(driver_.SetAtStation(true));
    EXPECT_EQ(Uninstall(), -1);
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Uninstall Orvanta");
}

TEST_F(Hooks, WithoutTheStationManagerSetupAndUninstallGoOn) {
    UseTestInstallation();
    ASSERT_TRUE(driver_.SetAtStation(true));
    ASSERT_TRUE(driver_.SetAbsent(true));
    EXPECT_TRUE(Welcome(3));
    EXPECT_EQ(Uninstall(), 0);
    EXPECT_EQ(UninstallEnd(), 0);
    EXPECT_TRUE(Boxes().empty());
}

// ---- The display support driver ------------------------------------------

TEST_F(Hooks, TheWelcomeHookLoadsTheDisplaySupportDriverAndAsksItsTwoQuestions) {
    EXPECT_TRUE(Welcome(3));
    auto status = s3_.Status();
    EXPECT_EQ(status.opens, 1u);
    EXPECT_EQ(status.openHandles, 0u) << "closed again, so the driver unloads";
    EXPECT_EQ(s3_.Codes(), (std::vector<uint32_t>{0x700, 0x702}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Hooks, AMissingDisplaySupportDriverIsReportedAndSetupGoesOn) {
    ASSERT_TRUE(s3_.SetAbsent(true));
    EXPECT_TRUE(Welcome(1));
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Cleanup.dll");
    EXPECT_EQ(boxes[0].text,
              "Orvanta Ensemble Setup tried to load the VxD \"\\\\.\\s3w32d.vxd\" and failed with error "
              "2: " +
                  SystemText(2) + ".");
    EXPECT_FALSE(boxes[0].icon);
    EXPECT_EQ(boxes[0].owner, nullptr);
}

TEST_F(Hooks, FailedQuestionsToTheDisplaySupportDriverAreNotShown) {
    ASSERT_TRUE(s3_.SetFail(S3W32D_FAIL_FIND));
    EXPECT_TRUE(Welcome(3));
    EXPECT_EQ(s3_.Codes(), std::vector<uint32_t>{0x700}) << "no second question after the first failed";

    s3_.Reset();
    ASSERT_TRUE(s3_.SetFail(S3W32D_FAIL_MASSAGE));
    EXPECT_TRUE(Welcome(3));
    EXPECT_EQ(s3_.Codes(), (std::vector<uint32_t>{0x700, 0x702}));
    EXPECT_EQ(s3_.Status().openHandles, 0u);
    EXPECT_TRUE(Boxes().empty());
}

// ---- The library itself --------------------------------------------------

TEST_F(Hooks, TheLibraryExportsExactlyTheFiveHooksByTheirPlainNames) {
    auto* base = reinterpret_cast<const BYTE*>(library_);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) found.push_back(reinterpret_cast<const char*>(base + names[i]));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found,
              (std::vector<std::string>{"IS51_CleanupBeforeDataMove", "IS51_CleanupBeforeSetupComplete",
                                        "IS51_CleanupBeforeWelcomeMessage", "UninstInitialize", "UninstUnInitialize"}));
    EXPECT_EQ(exports->NumberOfFunctions, 5u);
}

std::string VersionString(const std::vector<char>& record, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(record.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "";
    return value;
}

TEST_F(Hooks, TheVersionRecordNamesTheLibrary) {
    const std::string path = test_support::ProgramFolder() + "\\Cleanup.dll";
    DWORD ignored = 0;
    std::vector<char> record(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_FALSE(record.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(record.size()), record.data()));
    EXPECT_EQ(VersionString(record, "FileVersion"), "4.00");
    EXPECT_EQ(VersionString(record, "ProductVersion"), "4.00");
    EXPECT_EQ(VersionString(record, "FileDescription"), "Orvanta Installation Cleanup Library");
    EXPECT_EQ(VersionString(record, "InternalName"), "Cleanup");
    EXPECT_EQ(VersionString(record, "OriginalFilename"), "Cleanup.dll");
    EXPECT_EQ(VersionString(record, "ProductName"), "Orvanta");
    EXPECT_EQ(VersionString(record, "CompanyName"), "Quillon, Inc.");
}

}  // namespace
