// The running-programs tree from the stand-in driver's launched stations
// and their programs.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "modal_run.h"
#include "model_fixture.h"
#include "program_driver.h"
#include "resource_ids.h"
#include "running_programs_dialog.h"
#include "seams.h"

namespace {

struct Node {
    std::string text;
    int image = -1;
    std::vector<Node> children;
    bool operator==(const Node& other) const { return text == other.text && children == other.children; }
};

void PrintTo(const Node& node, std::ostream* out) {
    *out << node.text << " {";
    for (const Node& child : node.children) {
        PrintTo(child, out);
        *out << "; ";
    }
    *out << "}";
}

class RunningPrograms : public DriverModelTest {
protected:
    void Run(const std::function<void(HWND dialog)>& work) {
        CRunningProgramsDlg dialog;
        EXPECT_EQ(test_support::RunAndClose(dialog, work), IDOK) << "the list ran";
    }
    static std::vector<Node> Read(HWND tree, HTREEITEM first) {
        std::vector<Node> nodes;
        for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
            char text[512] = {};
            TVITEMA read = {};
            read.mask = TVIF_TEXT | TVIF_IMAGE;
            read.hItem = item;
            read.pszText = text;
            read.cchTextMax = sizeof text;
            TreeView_GetItem(tree, &read);
            nodes.push_back({text, read.iImage, Read(tree, TreeView_GetChild(tree, item))});
        }
        return nodes;
    }
    static std::vector<Node> TreeOf(HWND dialog) {
        HWND tree = GetDlgItem(dialog, IDC_PROGRAM_TREE);
        return Read(tree, TreeView_GetRoot(tree));
    }
};

TEST_F(RunningPrograms, EachLaunchedStationListsItsProgramsOnceWithoutTheHiddenOnes) {
    ASSERT_TRUE(driver_.AddLaunch("Reading Room", "MWReader", 1));
    ASSERT_TRUE(driver_.AddLaunch("Front Desk", "mwclerk", 0));
    ASSERT_TRUE(driver_.AddLaunch("[ None ]", "nobody", 2));
    ASSERT_TRUE(driver_.StartProgram(0, "Tool", "\"c:\\program files\\tool\\run.exe\" /s"));
    ASSERT_TRUE(driver_.StartProgram(0, "Tool again", "C:\\Program Files\\Tool\\RUN.EXE"));
    ASSERT_TRUE(driver_.StartProgram(0, "Shell", "C:\\WINDOWS\\EXPLORER.EXE"));
    ASSERT_TRUE(driver_.StartProgram(1, "Tool", "c:\\tool\\run.exe"));
    ASSERT_TRUE(driver_.StartProgram(2, "Tool", "c:\\other\\hidden station.exe"));
    std::vector<Node> tree;
    Run([&](HWND dialog) { tree = TreeOf(dialog); });
    std::vector<Node> expected = {
        {"front desk : mwclerk", 0, {{"run.exe : \"c:\\program files\\tool\\run.exe\" /s", 1, {}}}},
        {"reading room : mwreader", 0, {{"run.exe : c:\\tool\\run.exe", 1, {}}}},
    };
    EXPECT_EQ(tree, expected);
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].children[0].image, 1) << "a program file that is not there has no icon of its own";
}

TEST_F(RunningPrograms, AProgramWithAnIconShowsItsOwnAndRefreshingGivesTheSameTree) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    std::string notepad = std::string(system) + "\\notepad.exe";
    ASSERT_TRUE(driver_.AddLaunch("Front Desk", "mwclerk", 0));
    ASSERT_TRUE(driver_.StartProgram(0, "Editor", (notepad + " readme.txt").c_str()));
    // A description that is there but empty is shown as it is.
    ASSERT_TRUE(driver_.StartProgram(0, "Blank", (test_support::ProgramFolder() + "\\empty_description.dll").c_str()));
    std::vector<Node> first, second;
    Run([&](HWND dialog) {
        first = TreeOf(dialog);
        SendDlgItemMessageA(dialog, IDC_PROGRAM_REFRESH, BM_CLICK, 0, 0);
        second = TreeOf(dialog);
        HWND tree = GetDlgItem(dialog, IDC_PROGRAM_TREE);
        EXPECT_EQ(ImageList_GetImageCount(TreeView_GetImageList(tree, TVSIL_NORMAL)), 3) << "a fresh list";
    });
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(first[0].children.size(), 2u);
    EXPECT_EQ(first[0].children[0].text, "empty_description.dll : ");
    EXPECT_EQ(first[0].children[1].text.rfind("notepad.exe : ", 0), 0u);
    EXPECT_EQ(first[0].children[1].image, 2);
    EXPECT_EQ(second, first);
}

TEST_F(RunningPrograms, WithoutLaunchedStationsTheTreeIsEmpty) {
    std::vector<Node> tree{{"not read", 0, {}}};
    Run([&](HWND dialog) { tree = TreeOf(dialog); });
    EXPECT_TRUE(tree.empty());
}

}  // namespace
