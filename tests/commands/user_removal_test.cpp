// Removing a user: the refusals, the question, and what goes from disk,
// system.ini and the registry, step by step even when a step fails.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "file_backup.h"
#include "folder_backup.h"
#include "host_folders.h"
#include "model_fixture.h"
#include "registry_backup.h"
#include "resource_ids.h"
#include "resources.h"
#include "seams.h"
#include "user_removal.h"

namespace {

const char kProfileList[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList";
const char kUser[] = "Tester";

using test_support::FileExists;
using test_support::WindowsFolder;

void WriteFile(const std::string& path, bool readOnly = false) {
    std::ofstream(path) << "x";
    if (readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

class UserRemoval : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        profile_ = WindowsFolder() + "\\Profiles\\" + kUser;
        passwordFile_ = WindowsFolder() + "\\TESTER.PWL";
        CreateDirectoryA((WindowsFolder() + "\\Profiles").c_str(), nullptr);
        CreateDirectoryA(profile_.c_str(), nullptr);
        CreateDirectoryA((profile_ + "\\Desktop").c_str(), nullptr);
        CreateDirectoryA((profile_ + "\\Desktop\\Notes").c_str(), nullptr);
        WriteFile(profile_ + "\\user.dat");
        WriteFile(profile_ + "\\Desktop\\Notes\\kept.txt", true);
        WriteFile(passwordFile_);
        WritePrivateProfileStringA("Password Lists", kUser, passwordFile_.c_str(), SystemIni().c_str());
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_LOCAL_MACHINE, EntryKey().c_str(), &key);
        RegCloseKey(key);
    }
    void TearDown() override {
        AfxSetModalOperator(nullptr);
        RemoveDirectoryTree(profile_);
        DeleteFileA(passwordFile_.c_str());
        WritePrivateProfileStringA("Password Lists", kUser, nullptr, SystemIni().c_str());
        RegDeleteTreeA(HKEY_USERS, kUser);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, SystemIni().c_str());
    }

    static std::string SystemIni() { return WindowsFolder() + "\\system.ini"; }
    static std::string EntryKey() { return std::string(kProfileList) + "\\" + kUser; }
    static bool EntryExists() { return KeyExists(HKEY_LOCAL_MACHINE, EntryKey()); }
    static std::string PasswordEntry() {
        char value[MAX_PATH] = {};
        GetPrivateProfileStringA("Password Lists", kUser, "(none)", value, MAX_PATH, SystemIni().c_str());
        return value;
    }
    // Picks the user in the picker, as the administrator does.
    void Pick(const std::string& name) {
        AfxSetModalOperator([name](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_USER_PICK_LIST);
            SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_USER_PICK_LIST, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
        });
    }
    static std::string Formatted(UINT id, const std::string& a, const std::string& b = "") {
        return AfxFormat(AfxLoadString(id).c_str(), a.c_str(), b.c_str());
    }
    static std::string Repeated(UINT id, const char* name) {
        return AfxFormat(AfxLoadString(id).c_str(), name, name, name, name, name);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownText& shown : shownTexts) texts.push_back(shown.text);
        return texts;
    }

    std::string profile_, passwordFile_;
    test_support::RegistryBackup profiles_{HKEY_LOCAL_MACHINE, kProfileList};
    test_support::FileBackup systemIniBackup_{SystemIni()};
};

TEST_F(UserRemoval, AfterYesEverythingOfTheUserGoesReadOnlyFilesToo) {
    Pick(kUser);
    shownTextAnswer = IDYES;
    RemoveUserCommand(nullptr);
    ASSERT_EQ(shownTexts.size(), 1u);
    EXPECT_EQ(shownTexts[0].text, Repeated(IDS_CONFIRM_REMOVE_USER, kUser));
    EXPECT_EQ(shownTexts[0].style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_FALSE(FileExists(profile_));
    EXPECT_FALSE(FileExists(passwordFile_));
    EXPECT_EQ(PasswordEntry(), "(none)");
    EXPECT_FALSE(EntryExists());
}

TEST_F(UserRemoval, NoLeavesEverything) {
    Pick(kUser);
    shownTextAnswer = IDNO;
    RemoveUserCommand(nullptr);
    EXPECT_TRUE(FileExists(profile_ + "\\Desktop\\Notes\\kept.txt"));
    EXPECT_TRUE(FileExists(passwordFile_));
    EXPECT_TRUE(EntryExists());
}

TEST_F(UserRemoval, TheCurrentUserInAnyCaseAndALoggedOnUserAreRefused) {
    char current[260] = {};
    DWORD size = sizeof current;
    ASSERT_TRUE(GetUserNameA(current, &size));
    std::string other = current;
    for (char& c : other)
        c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, (std::string(kProfileList) + "\\" + other).c_str(), &key);
    RegCloseKey(key);
    Pick(other);
    shownTextAnswer = IDYES;
    RemoveUserCommand(nullptr);

    RegCreateKeyA(HKEY_USERS, kUser, &key);
    RegCloseKey(key);
    Pick(kUser);
    RemoveUserCommand(nullptr);

    ASSERT_EQ(shownTexts.size(), 2u);
    EXPECT_EQ(shownTexts[0].text, Repeated(IDS_USER_IS_CURRENT, other.c_str()));
    EXPECT_EQ(shownTexts[0].style, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(shownTexts[1].text, Repeated(IDS_USER_LOGGED_ON, kUser));
    EXPECT_EQ(shownTexts[1].style, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_TRUE(FileExists(profile_));
    EXPECT_TRUE(EntryExists());
}

TEST_F(UserRemoval, AMissingProfileFolderIsReportedAndTheOtherStepsStillRun) {
    RemoveDirectoryTree(profile_);
    Pick(kUser);
    shownTextAnswer = IDYES;
    RemoveUserCommand(nullptr);
    EXPECT_EQ(Texts(), (std::vector<std::string>{Repeated(IDS_CONFIRM_REMOVE_USER, kUser),
                                                 Formatted(IDS_PROFILE_NOT_REMOVED, Lower(profile_))}));
    EXPECT_FALSE(FileExists(passwordFile_));
    EXPECT_FALSE(EntryExists());
}

TEST_F(UserRemoval, AFileInUseStopsItsFoldersButWhatWentStaysGone) {
    const std::string notes = profile_ + "\\Desktop\\Notes";
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteFile(notes + "\\" + name);
    // The files in the order the removal meets them; the last one is held.
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((notes + "\\*.*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(notes + "\\" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    ASSERT_EQ(files.size(), 4u);
    const std::string busy = files.back();
    HANDLE open = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(RemoveDirectoryTree(profile_));
    CloseHandle(open);
    for (size_t i = 0; i + 1 < files.size(); ++i) EXPECT_FALSE(FileExists(files[i])) << files[i] << " went before";
    EXPECT_TRUE(FileExists(busy));
    EXPECT_TRUE(FileExists(notes));
    EXPECT_TRUE(FileExists(profile_));
    EXPECT_TRUE(RemoveDirectoryTree(profile_)) << "removed once the file is free";
    EXPECT_FALSE(FileExists(profile_));
}

TEST_F(UserRemoval, AProfileFolderThatIsALinkGoesAsALinkAndWhatItShowsStays) {
    const std::string link = WindowsFolder() + "\\Profiles\\Linked";
    ASSERT_TRUE(test_support::MakeFolderLink(link, profile_));
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, (std::string(kProfileList) + "\\Linked").c_str(), &key);
    RegCloseKey(key);
    Pick("Linked");
    shownTextAnswer = IDYES;
    RemoveUserCommand(nullptr);
    EXPECT_TRUE(FileExists(profile_ + "\\Desktop\\Notes\\kept.txt")) << "Tester's folder, which the link showed";
    // NT removes the link itself; Wine cannot remove a link to a folder that
    // holds files, and the removal then says so.
    std::vector<std::string> expected{Repeated(IDS_CONFIRM_REMOVE_USER, "Linked")};
    if (FileExists(link)) expected.push_back(Formatted(IDS_PROFILE_NOT_REMOVED, Lower(link)));
    EXPECT_EQ(Texts(), expected);
    test_support::RemoveFolderLink(link);
}

TEST_F(UserRemoval, ANameThatIsNoFolderOfItsOwnRemovesNoFolder) {
    // "." would be the whole profiles folder (".." the Windows folder); the
    // file system takes "Tester.", "Tester " and a short name for Tester's
    // folder, which is not theirs to remove.
    std::string sentinel = WindowsFolder() + "\\Profiles\\sentinel.txt";
    WriteFile(sentinel);
    const std::string longName = WindowsFolder() + "\\Profiles\\Testerlongname";
    CreateDirectoryA(longName.c_str(), nullptr);
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(longName.c_str(), shortPath, MAX_PATH);
    const std::string shortName = std::string(shortPath).substr(std::string(shortPath).rfind('\\') + 1);
    ASSERT_FALSE(shortName.empty());
    ASSERT_NE(shortName, "Testerlongname") << "the host gives no short names";

    for (const std::string& name : {std::string("."), std::string("Tester."), std::string("Tester "), shortName}) {
        SCOPED_TRACE("\"" + name + "\"");
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, (std::string(kProfileList) + "\\" + name).c_str(), &key),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        shownTexts.clear();
        Pick(name);
        shownTextAnswer = IDYES;
        RemoveUserCommand(nullptr);
        EXPECT_TRUE(FileExists(sentinel));
        EXPECT_TRUE(FileExists(profile_ + "\\Desktop\\Notes\\kept.txt"));
        EXPECT_TRUE(FileExists(longName));
        ASSERT_GE(shownTexts.size(), 2u);
        EXPECT_EQ(shownTexts[1].text,
                  Formatted(IDS_PROFILE_NOT_REMOVED, Lower(WindowsFolder() + "\\Profiles\\" + name)));
        // The other steps name the entry exactly: Tester's own stay.
        EXPECT_TRUE(FileExists(passwordFile_));
        EXPECT_EQ(PasswordEntry(), passwordFile_);
        EXPECT_TRUE(EntryExists());
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProfileList) + "\\" + name));
    }
    DeleteFileA(sentinel.c_str());
    RemoveDirectoryA(longName.c_str());
}

}  // namespace
