// The board sheet: which boards get a page, the address list each page
// offers, and what OK, Apply and Cancel leave in the model and the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "board_page.h"
#include "program_driver.h"
#include "setup_sheet_fixture.h"

namespace {

class BoardSheet : public SetupSheetTest {
protected:
    // The model is read once the registry has been emptied for the test.
    void SetUp() override {
        SetupSheetTest::SetUp();
        model_ = std::make_unique<SystemConfig>();
    }
    // The boards as the test set them are what the registry holds: the sheet
    // reads it again before it makes its pages.
    bool Run(bool zeltoEdition, const std::function<void(HWND sheet)>& work) {
        model_->SaveBoardsAndStations();
        return RunSheet(*model_, zeltoEdition, IDC_SETUP_BOARDS, work);
    }
    void Mark(int index, const std::string& name) { model_->boards[index].boardName = name; }

    static std::vector<std::string> Addresses(HWND page) {
        HWND list = ::GetDlgItem(page, IDC_BOARD_ADDRESS);
        std::vector<std::string> entries;
        int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }
    static std::string Chosen(HWND page) {
        HWND list = ::GetDlgItem(page, IDC_BOARD_ADDRESS);
        LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
        if (index < 0) return "";
        char text[64] = {};
        SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Chooses an entry as the user would: the list tells its page.
    static void Choose(HWND page, const std::string& entry) {
        HWND list = ::GetDlgItem(page, IDC_BOARD_ADDRESS);
        SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BOARD_ADDRESS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }

    std::unique_ptr<SystemConfig> model_;
};

std::vector<std::string> EveryCandidate() {
    std::vector<std::string> entries{"Automatic"};
    for (uint32_t address = 0xC8000; address < 0xF0000; address += 0x2000) entries.push_back(AddressText(address));
    return entries;
}

TEST_F(BoardSheet, OnlyMarkedBoardsGetAPageTitledWithTheirNumber) {
    Mark(0, "Ternway PA-2");
    Mark(2, "Ternway PC-4");
    Mark(3, "Ternway PBX-8");
    std::vector<std::string> tabs;
    ASSERT_TRUE(Run(false, [&](HWND sheet) {
        tabs = Tabs(sheet);
        char caption[64] = {};
        GetWindowTextA(sheet, caption, sizeof caption);
        EXPECT_STREQ(caption, "Adapter Boards");
        EXPECT_EQ(test_support::ItemText(CurrentPage(sheet), IDC_BOARD_NAME), "Ternway PA-2")
            << "the sheet opens on its first page";
        test_support::Click(sheet, IDCANCEL);
    }));
    EXPECT_EQ(tabs, (std::vector<std::string>{"Board 1", "Board 3", "Board 4"}));
}

TEST_F(BoardSheet, TheZeltoEditionOffersTwoBoardsNamedWithItsOwnText) {
    for (int i = 0; i < 4; ++i) Mark(i, "Ternway PA-" + std::to_string(i + 1));
    ASSERT_TRUE(Run(true, [&](HWND sheet) {
        EXPECT_EQ(Tabs(sheet), (std::vector<std::string>{"Board 1", "Board 2"}));
        EXPECT_EQ(test_support::ItemText(CurrentPage(sheet), IDC_BOARD_NAME), "Zelto PA-2 Adapter");
        test_support::Click(sheet, IDOK);
    }));
    SystemConfig stored;
    EXPECT_EQ(stored.boards[0].boardName, "Zelto PA-2 Adapter");
    EXPECT_EQ(stored.boards[1].boardName, "Ternway PA-2") << "a page never shown writes nothing";
}

TEST_F(BoardSheet, WithoutAMarkedBoardNoSheetIsShown) {
    Mark(2, "Ternway PA-2");  // the two-board edition does not offer board 3
    EXPECT_FALSE(Run(true, [&](HWND sheet) { test_support::Click(sheet, IDCANCEL); }));
    EXPECT_TRUE(Run(false, [&](HWND sheet) { test_support::Click(sheet, IDCANCEL); }))
        << "the full edition offers board 3";
}

TEST_F(BoardSheet, APd1BoardHasADisabledEmptyAddressList) {
    Mark(0, "Ternway PB-1 PD-1");
    ASSERT_TRUE(Run(false, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        EXPECT_FALSE(Enabled(page, IDC_BOARD_ADDRESS));
        EXPECT_TRUE(Addresses(page).empty());
        test_support::Click(sheet, IDCANCEL);
    }));
}

TEST_F(BoardSheet, AnotherPaBoardsAddressIsNotOffered) {
    Mark(0, "Ternway PB-4");
    model_->boards[0].physicalLocation = 0xCA000;  // its own address stays on its list
    Mark(1, "Ternway PA-2");
    model_->boards[1].physicalLocation = 0xD0000;
    Mark(2, "Ternway PC-4");  // not a "PA-" board: its address stays
    model_->boards[2].physicalLocation = 0xD2000;
    std::vector<std::string> first, second;
    ASSERT_TRUE(Run(false, [&](HWND sheet) {
        first = Addresses(CurrentPage(sheet));
        ShowPage(sheet, 1);
        second = Addresses(CurrentPage(sheet));
        test_support::Click(sheet, IDCANCEL);
    }));
    std::vector<std::string> expected = EveryCandidate();
    EXPECT_EQ(expected.size(), 21u);
    EXPECT_EQ(expected.back(), "EE000H");
    EXPECT_EQ(second, expected) << "a board's own address never leaves its own list";
    expected.erase(std::find(expected.begin(), expected.end(), "D0000H"));
    EXPECT_EQ(first, expected);
}

TEST_F(BoardSheet, TheStoredAddressIsChosenWhenItIsOfferedAndKeptWhenNothingIsChosen) {
    Mark(0, "Ternway PA-1");
    model_->boards[0].memoryLocation = 0;
    Mark(1, "Ternway PA-2");
    model_->boards[1].memoryLocation = 0xDA000;
    Mark(2, "Ternway PA-3");
    model_->boards[2].memoryLocation = 0xC9000;  // between two candidates
    Mark(3, "Ternway PB-1 PD-1");
    model_->boards[3].memoryLocation = 0xD4000;  // no list at all
    std::vector<std::string> chosen;
    ASSERT_TRUE(Run(false, [&](HWND sheet) {
        for (int i = 0; i < 4; ++i) {
            ShowPage(sheet, i);
            chosen.push_back(Chosen(CurrentPage(sheet)));
        }
        test_support::Click(sheet, IDOK);
    }));
    EXPECT_EQ(chosen, (std::vector<std::string>{"Automatic", "DA000H", "", ""}));
    // Showing a page is no choice: OK keeps the addresses nothing replaced.
    SystemConfig stored;
    EXPECT_EQ(stored.boards[0].memoryLocation, 0u);
    EXPECT_EQ(stored.boards[1].memoryLocation, 0xDA000u);
    EXPECT_EQ(stored.boards[2].memoryLocation, 0xC9000u);
    EXPECT_EQ(stored.boards[3].memoryLocation, 0xD4000u);
}

TEST_F(BoardSheet, OkStoresTheNameAndTheChosenAddress) {
    Mark(0, "Ternway PA-1");
    model_->boards[0].memoryLocation = 0xDA000;
    Mark(1, "Ternway PA-2");
    model_->boards[1].memoryLocation = 0xC8000;
    ASSERT_TRUE(Run(false, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        EXPECT_FALSE(Enabled(sheet, kApplyButton));
        Choose(page, "Automatic");
        EXPECT_TRUE(Enabled(sheet, kApplyButton)) << "a new choice marks the page modified";
        Type(page, IDC_BOARD_NAME, "Front office PA-1");
        ShowPage(sheet, 1);
        Choose(CurrentPage(sheet), "E4000H");
        test_support::Click(sheet, IDOK);
    }));
    EXPECT_EQ(model_->boards[0].memoryLocation, 0u);
    SystemConfig stored;
    EXPECT_EQ(stored.boards[0].boardName, "Front office PA-1");
    EXPECT_EQ(stored.boards[0].memoryLocation, 0u);
    EXPECT_EQ(stored.boards[1].memoryLocation, 0xE4000u);
}

TEST_F(BoardSheet, CancelKeepsWhatApplyWrote) {
    Mark(0, "Ternway PA-1");
    model_->boards[0].memoryLocation = 0xDA000;
    ASSERT_TRUE(Run(false, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Choose(page, "D4000H");
        test_support::Click(sheet, kApplyButton);
        EXPECT_FALSE(Enabled(sheet, kApplyButton));
        Choose(page, "D6000H");
        Type(page, IDC_BOARD_NAME, "Not kept PA-1");
        test_support::Click(sheet, IDCANCEL);
    }));
    SystemConfig stored;
    EXPECT_EQ(stored.boards[0].memoryLocation, 0xD4000u);
    EXPECT_EQ(stored.boards[0].boardName, "Ternway PA-1");
    EXPECT_EQ(model_->boards[0].memoryLocation, 0xD4000u);
}

TEST_F(BoardSheet, ANameTooLongIsRefusedAndTheSheetStaysOpen) {
    Mark(0, "Ternway PA-1");
    model_->boards[0].memoryLocation = 0xDA000;
    bool stayed = false;
    ASSERT_TRUE(Run(false, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        // The edit box stops typing at 31 characters; a pasted text is not
        // stopped by it.
        SendDlgItemMessageA(page, IDC_BOARD_NAME, EM_LIMITTEXT, 0, 0);
        Type(page, IDC_BOARD_NAME, std::string(40, 'x'));
        test_support::Click(sheet, IDOK);
        stayed = IsWindow(sheet) && CurrentPage(sheet) == page;
        test_support::Click(sheet, IDCANCEL);
    }));
    EXPECT_TRUE(stayed);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "Please enter no more than 31 characters.");
    EXPECT_EQ(model_->boards[0].boardName, "Ternway PA-1");
    SystemConfig stored;
    EXPECT_EQ(stored.boards[0].boardName, "Ternway PA-1") << "nothing is written";
}

TEST(ProgramEdition, IsToldByTheProgramFileNameWithoutRegardToCase) {
    EXPECT_TRUE(IsZeltoEditionProgram("C:\\Program Files\\Orvanta\\zelto.exe"));
    EXPECT_TRUE(IsZeltoEditionProgram("ZELTO.EXE"));
    EXPECT_TRUE(IsZeltoEditionProgram("c:\\x.y\\Zelto"));
    EXPECT_FALSE(IsZeltoEditionProgram("C:\\Zelto\\abc.exe"));
    EXPECT_FALSE(IsZeltoEditionProgram("C:\\zelto2.exe"));
}

}  // namespace
