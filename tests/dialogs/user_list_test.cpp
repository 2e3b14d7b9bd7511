// The user lists: the profiles of the PC, and the pick of the user to
// remove.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "model_fixture.h"
#include "registry_backup.h"
#include "resource_ids.h"
#include "seams.h"
#include "user_list_dialog.h"

namespace {

const char kProfileList[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList";

class UserLists : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProfileList);
    }
    void TearDown() override { AfxSetModalOperator(nullptr); }
    static void AddProfile(const char* name) {
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_LOCAL_MACHINE, (std::string(kProfileList) + "\\" + name).c_str(), &key);
        RegCloseKey(key);
    }
    // The profiles in the order the registry lists them, which the lists
    // keep; the names are such that a sorted list would differ.
    static std::vector<std::string> Listed() {
        std::vector<std::string> names;
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
        char name[260];
        for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i) names.push_back(name);
        RegCloseKey(key);
        return names;
    }
    static void AddUnsortedProfiles() {
        for (const char* name : {"mwreader", "coal", "co-op", "Zoe", "\xE9lodie"}) AddProfile(name);
        std::vector<std::string> sorted = Listed();
        std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
            return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
        });
        ASSERT_NE(Listed(), sorted) << "the names no longer tell the registry's order from a sorted one";
    }
    static std::vector<std::string> Items(HWND list) {
        std::vector<std::string> items;
        for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char text[260] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }

    test_support::RegistryBackup profiles_{HKEY_LOCAL_MACHINE, kProfileList};
};

TEST_F(UserLists, ThePickStartsWithNothingChosenAndGivesTheChosenName) {
    AddUnsortedProfiles();
    bool okAtFirst = true, okAfterChoice = false;
    std::vector<std::string> items;
    CUserPickDlg pick;
    AfxSetModalOperator([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_USER_PICK_LIST);
        items = Items(list);
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
        okAtFirst = IsWindowEnabled(GetDlgItem(dialog, IDOK));
        SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("mwreader"));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_USER_PICK_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        okAfterChoice = IsWindowEnabled(GetDlgItem(dialog, IDOK));
        SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(pick.DoModal(), IDOK);
    EXPECT_EQ(items, Listed());
    EXPECT_FALSE(okAtFirst);
    EXPECT_TRUE(okAfterChoice);
    EXPECT_EQ(pick.userName, "mwreader");
}

TEST_F(UserLists, WithoutProfilesNeitherDialogAppearsAndAMessageSaysSo) {
    bool shown = false;
    AfxSetModalOperator([&](HWND dialog) {
        shown = true;
        EndDialog(dialog, IDCANCEL);
    });
    CUserPickDlg pick;
    EXPECT_EQ(pick.DoModal(), IDCANCEL);
    CUserListDlg list;
    EXPECT_EQ(list.DoModal(), IDCANCEL);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProfileList);
    AddProfile("x");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kProfileList) + "\\x").c_str());  // an empty list
    EXPECT_EQ(CUserListDlg().DoModal(), IDCANCEL);
    EXPECT_FALSE(shown);
    EXPECT_EQ(shownMessages, std::vector<UINT>(3, IDS_NO_USER_PROFILES));
}

TEST_F(UserLists, TheListShowsEveryProfileInTheRegistrysOrder) {
    AddUnsortedProfiles();
    std::vector<std::string> items;
    AfxSetModalOperator([&](HWND dialog) {
        items = Items(GetDlgItem(dialog, IDC_USER_LIST));
        SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    });
    CUserListDlg list;
    EXPECT_EQ(list.DoModal(), IDOK);
    EXPECT_EQ(items, Listed());
}

}  // namespace
