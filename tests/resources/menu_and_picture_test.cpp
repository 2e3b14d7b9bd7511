#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_ids.h"
#include "resource_library.h"

namespace resources_test {
namespace {

const int kMainWindowCommands[] = {
    ID_SUPPORT_INFO,     ID_AUTOLAUNCH_OFF,      ID_SEND_MESSAGE,
    ID_REMOVE_USER,      ID_LIST_USERS,          ID_LAUNCH_STATION,
    ID_STOP_STATION,     ID_STATION_CHECK,       ID_EXIT,
    ID_AUTOLAUNCH_ON,    ID_SHUTDOWN_DEFAULT_ON, ID_SHUTDOWN_DEFAULT_OFF,
    ID_STATION_SETTINGS, ID_SHUTDOWN_SYSTEM,     ID_PRODUCT_WEB_PAGE,
    ID_MESSAGE_LOG,      ID_RUNNING_PROGRAMS,    ID_APP_ABOUT_CMD,
    ID_HELP_USING_CMD,   ID_HELP_INDEX_CMD,      ID_DEFAULT_HELP_CMD,
    ID_HELP_CMD,         ID_CONTEXT_HELP_CMD,
};

TEST(MainMenu, HoldsEveryCommandOfTheMainWindow) {
    HMENU menu = LoadMenuA(Library(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    for (int command : kMainWindowCommands) {
        EXPECT_NE(GetMenuState(menu, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << "command " << command;
    }
    DestroyMenu(menu);
}

TEST(MainMenu, AutomaticLaunchAndDefaultShutdownAreRadioPairs) {
    HMENU menu = LoadMenuA(Library(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    for (int command : {ID_AUTOLAUNCH_ON, ID_AUTOLAUNCH_OFF, ID_SHUTDOWN_DEFAULT_ON, ID_SHUTDOWN_DEFAULT_OFF}) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(menu, command, FALSE, &info)) << "command " << command;
        EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << "command " << command;
    }
    DestroyMenu(menu);
}

TEST(MainMenu, AcceleratorsLoad) {
    HACCEL table = LoadAcceleratorsA(Library(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    EXPECT_GT(CopyAcceleratorTableA(table, nullptr, 0), 0);
    DestroyAcceleratorTable(table);
}

TEST(Icons, ApplicationAndMessageIconsLoadInBothSizes) {
    for (int id : {IDR_MAINFRAME, IDI_MESSAGE_NEW, IDI_MESSAGE_SEEN}) {
        for (int size : {16, 32}) {
            HANDLE icon = LoadImageA(Library(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
            EXPECT_NE(icon, nullptr) << "icon " << id << " at " << size;
            if (icon) DestroyIcon(static_cast<HICON>(icon));
        }
    }
}

struct PictureFacts {
    int width = 0, height = 0, bitsPerPixel = 0, colours = 0;
};

// Loads a picture the way the home view does and reads what a palette
// needs: its depth and its colour table.
PictureFacts Inspect(const std::string& name) {
    PictureFacts facts;
    HBITMAP picture =
        static_cast<HBITMAP>(LoadImageA(Library(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!picture) return facts;
    DIBSECTION section = {};
    if (GetObjectA(picture, sizeof section, &section) == sizeof section) {
        facts.width = section.dsBmih.biWidth;
        facts.height = section.dsBmih.biHeight;
        facts.bitsPerPixel = section.dsBmih.biBitCount;
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, picture);
        RGBQUAD table[256];
        facts.colours = GetDIBColorTable(memory, 0, 256, table);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    DeleteObject(picture);
    return facts;
}

TEST(Pictures, BackgroundsArePalettizedSectionsOfOneSize) {
    PictureFacts first = Inspect("ZqBG");
    for (const char* name : {"ZqBG", "VqBG", "ZqBG_JAP", "VqBG_JAP"}) {
        PictureFacts facts = Inspect(name);
        EXPECT_GT(facts.width, 0) << name << " is missing";
        EXPECT_LE(facts.bitsPerPixel, 8) << name;
        EXPECT_GT(facts.colours, 0) << name << " has no colour table";
        EXPECT_EQ(facts.width, first.width) << name;
        EXPECT_EQ(facts.height, first.height) << name;
    }
}

TEST(Pictures, ButtonStatesArePalettizedAndEquallySized) {
    for (const char* button : {"LAUNCH", "STOP", "MESSAGE", "REMOVEUSER", "SETTINGS", "CHECK", "HELP", "EXIT"}) {
        PictureFacts up = Inspect(std::string(button) + "U");
        ASSERT_GT(up.width, 0) << button;
        for (const char* state : {"U", "D", "F", "X"}) {
            PictureFacts facts = Inspect(std::string(button) + state);
            EXPECT_LE(facts.bitsPerPixel, 8) << button << state;
            EXPECT_GT(facts.colours, 0) << button << state;
            EXPECT_EQ(facts.width, up.width) << button << state;
            EXPECT_EQ(facts.height, up.height) << button << state;
        }
    }
}

}  // namespace
}  // namespace resources_test
