// The library's steps held directly: the code read back for the
// uninstaller, the two product predicates with the question they ask about
// an unknown code, and the failure report's sentence.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "failure_report.h"
#include "file_removal.h"
#include "message_box_watcher.h"
#include "product.h"
#include "registry.h"
#include "registry_backup.h"
#include "registry_values.h"

namespace {

const char kProductKey[] = "Software\\Quillon\\Orvanta";
const char kUninitialized[] =
    "Uninitialized version number (giVersion = 0)?\n\nThis can happen if a previous install was unsuccessful or "
    "incomplete and didn't write the \"Product Type\" to the HKLM\\Software\\..\\Orvanta branch of the Registry.";

class Identity : public ::testing::Test {
protected:
    void TearDown() override { giVersion = 0; }

    static void PutType(const std::string& bytes) {
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_LOCAL_MACHINE, kProductKey, &key);
        RegSetValueExA(key, "Product Type", 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }

    test_support::RegistryBackup product_{HKEY_LOCAL_MACHINE, kProductKey};
    test_support::MessageBoxWatcher boxes_;
};

TEST_F(Identity, TheUninstallerReadsTheCodeBackAsANumberOfUpToFourBytes) {
    RecordProduct(2);
    PutType(std::string(1, '\4'));
    ReadProductType();
    EXPECT_EQ(giVersion, 4);
    EXPECT_EQ(ProductName(), "") << "the uninstaller names no product";
    PutType(std::string("\x02\x01", 2));
    ReadProductType();
    EXPECT_EQ(giVersion, 0x102);
    PutType(std::string(5, '\1'));
    ReadProductType();
    EXPECT_EQ(giVersion, 0) << "too long to be a code";

    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_ALL_ACCESS, &key);
    RegDeleteValueA(key, "Product Type");
    RegCloseKey(key);
    giVersion = 3;
    ReadProductType();
    EXPECT_EQ(giVersion, 0);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    giVersion = 3;
    ReadProductType();
    EXPECT_EQ(giVersion, 0);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Identity, ThePredicatesFollowTheProductTable) {
    const struct {
        int code;
        bool portCleanup, zelto;
    } table[] = {{1, true, false}, {2, false, false}, {3, false, true}, {4, true, true}, {7, false, false}};
    for (const auto& row : table) {
        giVersion = row.code;
        EXPECT_EQ(NeedsPortCleanup(), row.portCleanup) << row.code;
        EXPECT_EQ(IsZeltoBrand(), row.zelto) << row.code;
    }
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Identity, AnUnrecordedCodeIsQuestionedAtEveryEvaluationAndCountsAsNeither) {
    giVersion = 0;
    EXPECT_FALSE(NeedsPortCleanup());
    EXPECT_FALSE(IsZeltoBrand());
    EXPECT_FALSE(NeedsPortCleanup());
    auto boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, "Orvanta Cleanup.dll");
        EXPECT_EQ(box.text, kUninitialized);
        EXPECT_FALSE(box.icon);
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    }
}

TEST_F(Identity, TheFailureReportNamesTheProductTheObjectInLowerCaseAndTheSystemsWords) {
    RecordProduct(2);
    SetLastError(ERROR_ACCESS_DENIED);
    std::string report = ReportFailure("delete the file", "C:\\Program Files\\ORVANTA\\Zelto.EXE", false);
    char system[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), system, sizeof system - 1, nullptr);
    EXPECT_EQ(report, std::string("Orvanta Zq Setup tried to delete the file \"c:\\program files\\orvanta\\zelto.exe\" "
                                  "and failed with error 5: ") +
                          system + ".");
    EXPECT_TRUE(boxes_.Boxes().empty()) << "not shown";

    SetLastError(ERROR_FILE_NOT_FOUND);
    report = ReportFailure("run the command", "C:\\" + std::string(600, 'X'), true);
    EXPECT_EQ(report.size(), 511u);
    EXPECT_EQ(report.substr(0, 50), "Orvanta Zq Setup tried to run the command \"c:\\xxxx");
    auto boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Cleanup.dll");
    EXPECT_EQ(boxes[0].text, report);
    EXPECT_FALSE(boxes[0].icon);
}

TEST_F(Identity, FilesAndFoldersGoWhenTheyCanWithoutAWordWhenTheyCannot) {
    const std::string folder = "C:\\cleanup-removal-test", file = folder + "\\file.txt";
    CreateDirectoryA(folder.c_str(), nullptr);
    HANDLE held = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DeleteIfPresent(file);       // held without sharing: it stays
    RemoveDirIfPresent(folder);  // not empty: it stays
    EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    CloseHandle(held);

    DeleteIfPresent(file);
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteIfPresent(file);  // gone already: nothing to do
    RemoveDirIfPresent(folder);
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirIfPresent(folder);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Identity, AKeyGoesWithEverythingBelowItAsOnWindows9x) {
    const std::string tree = std::string(kProductKey) + "\\Tree";
    for (const char* leaf : {"\\A\\A1\\Deep", "\\A\\A2", "\\B", "\\C\\C1"})
        test_support::PutText(HKEY_LOCAL_MACHINE, tree + leaf, "Value", "x");
    test_support::PutNumber(HKEY_LOCAL_MACHINE, tree, "Top", 1);
    test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Treeling", "Kept", "x");

    EXPECT_EQ(DeleteKeyTree(HKEY_LOCAL_MACHINE, tree), ERROR_SUCCESS);
    EXPECT_FALSE(test_support::KeyExists(HKEY_LOCAL_MACHINE, tree));
    EXPECT_EQ(test_support::ReadText(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Treeling", "Kept"), "x");
    // A missing key is reported as the system reports it; no path names no key.
    EXPECT_EQ(DeleteKeyTree(HKEY_LOCAL_MACHINE, tree), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteKeyTree(HKEY_LOCAL_MACHINE, tree + "\\A\\A1"), ERROR_FILE_NOT_FOUND);
    RegKey product(HKEY_LOCAL_MACHINE, kProductKey);
    EXPECT_NE(DeleteKeyTree(product.Get(), ""), ERROR_SUCCESS);
    EXPECT_TRUE(test_support::KeyExists(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Treeling"));
}

}  // namespace
