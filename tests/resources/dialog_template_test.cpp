// Every dialog the program runs must exist in the library with the items
// its code addresses by number, each of the kind the code expects: a check
// box that arrived as a push button would silently never hold its state.
#include "resource_library.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_ids.h"

namespace resources_test {
namespace {

enum class Kind { Edit, Check, Radio, Push, Picture, Text, List, Combo, ListView, TreeView };

struct Item {
    int id;
    Kind kind;
};

struct Template {
    int id;
    std::vector<Item> items;
};

const std::vector<Template> kTemplates = {
    {IDD_ABOUT, {{IDC_ABOUT_TEXT, Kind::Text}, {IDC_ABOUT_TOGGLE, Kind::Push}, {IDOK, Kind::Push}}},
    {IDD_SEND_MESSAGE, {{IDC_MESSAGE_TEXT, Kind::Edit}, {IDOK, Kind::Push}, {IDCANCEL, Kind::Push}}},
    {IDD_USER_PICK, {{IDC_USER_PICK_LIST, Kind::List}, {IDOK, Kind::Push}, {IDCANCEL, Kind::Push}}},
    {IDD_HOME_FORM,
     {{IDC_HOME_MESSAGE, Kind::Picture},
      {IDC_HOME_EXIT, Kind::Picture},
      {IDC_HOME_HELP, Kind::Picture},
      {IDC_HOME_STOP, Kind::Picture},
      {IDC_HOME_LAUNCH, Kind::Picture},
      {IDC_HOME_SETTINGS, Kind::Picture},
      {IDC_HOME_CHECK, Kind::Picture},
      {IDC_HOME_REMOVE_USER, Kind::Picture}}},
    {IDD_USER_LIST, {{IDC_USER_LIST, Kind::List}, {IDOK, Kind::Push}}},
    {IDD_STATION_CHECK,
     {{IDC_CHECK_BASE, Kind::Check},
      {IDC_CHECK_MOUSE, Kind::Check},
      {IDC_CHECK_LAUNCHED, Kind::Check},
      {IDC_CHECK_KEYBOARD, Kind::Check},
      {IDC_CHECK_REPORT, Kind::Text},
      {IDC_CHECK_DRIVERS, Kind::Check},
      {IDOK, Kind::Push},
      {IDCANCEL, Kind::Push}}},
    {IDD_STATION_SETTINGS,
     {{IDC_SETTINGS_NAME, Kind::Edit},
      {IDC_SETTINGS_USER, Kind::Edit},
      {IDC_SETTINGS_AUTOLAUNCH, Kind::Check},
      {IDOK, Kind::Push},
      {IDCANCEL, Kind::Push}}},
    {IDD_SUPPORT,
     {{IDC_SUPPORT_TEXT, Kind::Text},
      {IDC_SUPPORT_WEB, Kind::Push},
      {IDC_SUPPORT_MAIL, Kind::Push},
      {IDOK, Kind::Push}}},
    {IDD_SHUTDOWN,
     {{IDC_SHUTDOWN_POWER_OFF, Kind::Radio},
      {IDC_SHUTDOWN_RESTART, Kind::Radio},
      {IDOK, Kind::Push},
      {IDCANCEL, Kind::Push}}},
    {IDD_PROGRESS, {{IDC_PROGRESS_TEXT, Kind::Text}}},
    {IDD_SINGLE_STATION_SETTINGS,
     {{IDC_SETTINGS_USER, Kind::Edit},
      {IDC_SETTINGS_AUTOLAUNCH, Kind::Check},
      {IDC_SETTINGS_SHUTDOWN, Kind::Check},
      {IDOK, Kind::Push},
      {IDCANCEL, Kind::Push}}},
    {IDD_STATION_PICK,
     {{IDC_PICK_STATION1, Kind::Push},
      {IDC_PICK_STATION2, Kind::Push},
      {IDC_PICK_STATION3, Kind::Push},
      {IDC_PICK_STATION4, Kind::Push},
      {IDCANCEL, Kind::Push}}},
    {IDD_SHUTDOWN_CONFIRM, {{IDC_CONFIRM_LIST, Kind::List}, {IDOK, Kind::Push}, {IDCANCEL, Kind::Push}}},
    {IDD_MESSAGE_LOG,
     {{IDC_LOG_LIST, Kind::ListView},
      {IDC_LOG_TEXT, Kind::Edit},
      {ID_LOG_MARK_ALL_SEEN, Kind::Push},
      {ID_LOG_DELETE, Kind::Push},
      {IDOK, Kind::Push}}},
    {IDD_PRINTER_MODE,
     {{IDC_PRINTER_MODE_NORMAL, Kind::Radio},
      {IDC_PRINTER_MODE_ALTERNATE, Kind::Radio},
      {IDOK, Kind::Push},
      {IDCANCEL, Kind::Push}}},
    {IDD_SETUP, {{IDC_SETUP_STATIONS, Kind::Push}, {IDC_SETUP_BOARDS, Kind::Push}, {IDOK, Kind::Push}}},
    {IDD_STATION_PAGE,
     {{IDC_PAGE_AUTOLAUNCH, Kind::Check},
      {IDC_PAGE_DEFAULT_USER, Kind::Edit},
      {IDC_PAGE_STATION_NAME, Kind::Edit},
      {IDC_PAGE_PRINTER, Kind::Check},
      {IDC_PAGE_PRINTER_NAME, Kind::Edit},
      {IDC_PAGE_PRINTER_PORT, Kind::Edit},
      {IDC_PAGE_SERIAL1, Kind::Check},
      {IDC_PAGE_SERIAL1_NAME, Kind::Edit},
      {IDC_PAGE_SERIAL1_PORT, Kind::Edit},
      {IDC_PAGE_SERIAL2, Kind::Check},
      {IDC_PAGE_SERIAL2_NAME, Kind::Edit},
      {IDC_PAGE_SERIAL2_PORT, Kind::Edit},
      {IDC_PAGE_SERIAL1_SETTINGS, Kind::Push},
      {IDC_PAGE_SERIAL2_SETTINGS, Kind::Push},
      {IDC_PAGE_PRINTER_SETTINGS, Kind::Push}}},
    {IDD_BOARD_PAGE, {{IDC_BOARD_NAME, Kind::Edit}, {IDC_BOARD_ADDRESS, Kind::Combo}}},
    {IDD_LAUNCH_STATION,
     {{IDC_LAUNCH_STATION, Kind::Combo}, {IDC_LAUNCH_USER, Kind::Edit}, {IDOK, Kind::Push}, {IDCANCEL, Kind::Push}}},
    {IDD_STOP_PICK, {{IDC_STOP_PICK_LIST, Kind::List}, {IDOK, Kind::Push}, {IDCANCEL, Kind::Push}}},
    {IDD_RUNNING_PROGRAMS, {{IDC_PROGRAM_TREE, Kind::TreeView}, {IDC_PROGRAM_REFRESH, Kind::Push}, {IDOK, Kind::Push}}},
};

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A window to own the dialogs under test; child templates (the home form and
// the property pages) need a parent.
class DialogTemplates : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override {
        owner_ =
            CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    HWND Create(int id) { return CreateDialogParamA(Library(), MAKEINTRESOURCEA(id), owner_, InertDialogProc, 0); }

    HWND owner_ = nullptr;
};

void ExpectKind(HWND dialog, int dialogId, const Item& item) {
    HWND control = GetDlgItem(dialog, item.id);
    ASSERT_NE(control, nullptr) << "dialog " << dialogId << " lacks item " << item.id;
    std::string cls = ClassOf(control);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    LONG buttonType = style & BS_TYPEMASK;
    auto where = ::testing::Message() << "dialog " << dialogId << " item " << item.id << " (" << cls << ")";
    switch (item.kind) {
    case Kind::Edit:
        EXPECT_STRCASEEQ(cls.c_str(), "Edit") << where;
        break;
    case Kind::Text:
        EXPECT_STRCASEEQ(cls.c_str(), "Static") << where;
        break;
    case Kind::List:
        EXPECT_STRCASEEQ(cls.c_str(), "ListBox") << where;
        break;
    case Kind::Combo:
        EXPECT_STRCASEEQ(cls.c_str(), "ComboBox") << where;
        break;
    case Kind::ListView:
        EXPECT_STREQ(cls.c_str(), WC_LISTVIEWA) << where;
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT) << where;
        break;
    case Kind::TreeView:
        EXPECT_STREQ(cls.c_str(), WC_TREEVIEWA) << where;
        break;
    case Kind::Check:
        EXPECT_STRCASEEQ(cls.c_str(), "Button") << where;
        EXPECT_EQ(buttonType, BS_AUTOCHECKBOX) << where;
        break;
    case Kind::Radio:
        EXPECT_STRCASEEQ(cls.c_str(), "Button") << where;
        EXPECT_EQ(buttonType, BS_AUTORADIOBUTTON) << where;
        break;
    case Kind::Push:
        EXPECT_STRCASEEQ(cls.c_str(), "Button") << where;
        EXPECT_TRUE(buttonType == BS_PUSHBUTTON || buttonType == BS_DEFPUSHBUTTON) << where;
        break;
    case Kind::Picture:
        EXPECT_STRCASEEQ(cls.c_str(), "Button") << where;
        EXPECT_EQ(buttonType, BS_OWNERDRAW) << where;
        break;
    }
}

TEST_F(DialogTemplates, EachTemplateHoldsTheItemsItsDialogAddresses) {
    for (const auto& dialogTemplate : kTemplates) {
        HWND dialog = Create(dialogTemplate.id);
        ASSERT_NE(dialog, nullptr) << "dialog " << dialogTemplate.id << " cannot be created";
        for (const auto& item : dialogTemplate.items) ExpectKind(dialog, dialogTemplate.id, item);
        DestroyWindow(dialog);
    }
}

TEST_F(DialogTemplates, PagesAndTheHomeFormAreChildTemplates) {
    for (int id : {IDD_HOME_FORM, IDD_STATION_PAGE, IDD_BOARD_PAGE}) {
        HWND dialog = Create(id);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) << "dialog " << id;
        DestroyWindow(dialog);
    }
}

TEST_F(DialogTemplates, SendButtonsThatNeedAChoiceStartDisabled) {
    // Nothing is sent before the administrator has edited the message, and no
    // station is stopped before one is picked.
    for (int id : {IDD_SEND_MESSAGE, IDD_STOP_PICK}) {
        HWND dialog = Create(id);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK))) << "dialog " << id;
        DestroyWindow(dialog);
    }
}

TEST_F(DialogTemplates, HomeButtonsNameFourPicturesEach) {
    HWND form = Create(IDD_HOME_FORM);
    ASSERT_NE(form, nullptr);
    for (int id : {IDC_HOME_MESSAGE, IDC_HOME_EXIT, IDC_HOME_HELP, IDC_HOME_STOP, IDC_HOME_LAUNCH, IDC_HOME_SETTINGS,
                   IDC_HOME_CHECK, IDC_HOME_REMOVE_USER}) {
        char caption[32] = {};
        GetDlgItemTextA(form, id, caption, sizeof caption);
        ASSERT_NE(caption[0], '\0') << "button " << id << " has no caption";
        for (const char* state : {"U", "D", "F", "X"}) {
            std::string name = std::string(caption) + state;
            HANDLE picture = LoadImageA(Library(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
            EXPECT_NE(picture, nullptr) << "picture " << name << " of button " << id;
            if (picture) DeleteObject(picture);
        }
    }
    DestroyWindow(form);
}

}  // namespace
}  // namespace resources_test
