// Message maps: entries found in the class and its bases, ranges, update
// handlers, and commands no map knows.
#include <gtest/gtest.h>

#include "command_target.h"

namespace {

class Base : public CCmdTarget {
public:
    void OnSave() { ++saves; }
    int saves = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Base, CCmdTarget)
ON_COMMAND(100, OnSave)
END_MESSAGE_MAP()

class Derived : public Base {
public:
    void OnPick(UINT id) { picked = id; }
    void OnSaveUpdate(CCmdUI* item) { updated = item->m_nID; }
    void OnChange() { ++changes; }
    UINT picked = 0, updated = 0;
    int changes = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Derived, Base)
ON_COMMAND_RANGE(200, 203, OnPick)
ON_UPDATE_COMMAND_UI(100, OnSaveUpdate)
ON_EN_CHANGE(300, OnChange)
END_MESSAGE_MAP()

TEST(MessageMap, CommandsReachHandlersOfTheClassAndItsBases) {
    Derived target;
    EXPECT_TRUE(target.OnCmdMsg(100, 0, nullptr));
    EXPECT_EQ(target.saves, 1);
    EXPECT_TRUE(target.OnCmdMsg(202, 0, nullptr));
    EXPECT_EQ(target.picked, 202u);
    EXPECT_FALSE(target.OnCmdMsg(204, 0, nullptr));
}

TEST(MessageMap, NotificationsMatchTheirCodeAsWellAsTheirControl) {
    Derived target;
    EXPECT_TRUE(target.OnCmdMsg(300, EN_CHANGE, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(300, EN_KILLFOCUS, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(300, 0, nullptr)) << "a notification handler is no command handler";
    EXPECT_EQ(target.changes, 1);
}

TEST(MessageMap, UpdateHandlersRunOnlyForUpdates) {
    Derived target;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 100, "Save");
    CCmdUI item(menu, 0, 100);
    EXPECT_TRUE(target.OnCmdMsg(100, 0, &item));
    EXPECT_EQ(target.updated, 100u);
    EXPECT_EQ(target.saves, 0);
    item.SetRadio(TRUE);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoA(menu, 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    DestroyMenu(menu);
}

}  // namespace
