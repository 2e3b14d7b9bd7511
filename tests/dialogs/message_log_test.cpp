// The station message log on the test host's registry: which slots it
// lists and in which order, the message pane, toggling a message's status,
// marking all seen and deleting the log.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "message_log_dialog.h"
#include "modal_run.h"
#include "model_fixture.h"
#include "resource_ids.h"
#include "resources.h"
#include "seams.h"

namespace {

class MessageLog : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        AfxSetMessageBoxHandler([this](HWND, const std::string& text, const std::string&, UINT) {
            asked_.push_back(text);
            return answer_;
        });
    }
    void TearDown() override {
        AfxSetMessageBoxHandler(nullptr);
        AfxSetModalOperator(nullptr);
    }

    static void PutSlot(char letter, const std::string& message, const std::string& timeStamp,
                        const std::string& station = "Front Desk", int seen = -1) {
        std::string store = MessageStorePath();
        PutString(store, (std::string(1, letter) + "Message").c_str(), message);
        PutString(store, (std::string(1, letter) + "TimeStamp").c_str(), timeStamp);
        PutString(store, (std::string(1, letter) + "Station").c_str(), station);
        PutString(store, (std::string(1, letter) + "Caption").c_str(), "Stop error");
        if (seen >= 0) PutByte(store, (std::string(1, letter) + "SeenByFrontEnd").c_str(), static_cast<BYTE>(seen));
    }
    static std::string Seen(char letter) {
        std::string bytes;
        if (Stored(MessageStorePath(), (std::string(1, letter) + "SeenByFrontEnd").c_str(), &bytes) != REG_BINARY)
            return "(none)";
        return bytes.size() == 1 ? std::to_string(static_cast<int>(bytes[0]))
                                 : "(size " + std::to_string(bytes.size()) + ")";
    }

    void Run(const std::function<void(HWND dialog)>& work) {
        EXPECT_EQ(test_support::RunAndClose(dialog_, work), IDOK) << "the message log ran";
    }

    static HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_LOG_LIST); }
    static std::string Cell(HWND dialog, int row, int column) {
        char text[256] = {};
        ListView_GetItemText(List(dialog), row, column, text, sizeof text);
        return text;
    }
    static std::string Pane(HWND dialog) {
        char text[1024] = {};
        GetDlgItemTextA(dialog, IDC_LOG_TEXT, text, sizeof text);
        return text;
    }
    // The slot letters in row order.
    static std::string Order(HWND dialog) {
        std::string letters;
        for (int row = 0; row < ListView_GetItemCount(List(dialog)); ++row) {
            LVITEMA item = {};
            item.mask = LVIF_PARAM;
            item.iItem = row;
            ListView_GetItem(List(dialog), &item);
            letters += static_cast<char>('a' + item.lParam);
        }
        return letters;
    }
    static void Notify(HWND dialog, NMLISTVIEW change) {
        change.hdr.hwndFrom = List(dialog);
        change.hdr.idFrom = IDC_LOG_LIST;
        SendMessageA(dialog, WM_NOTIFY, IDC_LOG_LIST, reinterpret_cast<LPARAM>(&change));
    }
    // The list reports the row as selected (again).
    static void ReportSelected(HWND dialog, int row) {
        NMLISTVIEW change = {};
        change.hdr.code = LVN_ITEMCHANGED;
        change.iItem = row;
        change.uChanged = LVIF_STATE;
        change.uNewState = LVIS_SELECTED | LVIS_FOCUSED;
        change.uOldState = LVIS_SELECTED;
        Notify(dialog, change);
    }
    static void ClickColumn(HWND dialog, int column) {
        NMLISTVIEW click = {};
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        Notify(dialog, click);
    }
    static void Command(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, id, 0); }

    CMessageLogDlg dialog_;
    std::vector<std::string> asked_;
    int answer_ = IDNO;
};

TEST_F(MessageLog, WithoutAStoreTheListIsEmptyAndThePaneSaysSo) {
    Run([&](HWND dialog) {
        EXPECT_EQ(ListView_GetItemCount(List(dialog)), 0);
        EXPECT_EQ(Pane(dialog), AfxLoadString(IDS_LOG_EMPTY));
        HWND header = ListView_GetHeader(List(dialog));
        EXPECT_EQ(Header_GetItemCount(header), 5);
        for (int column = 0; column < 5; ++column)
            EXPECT_GT(ListView_GetColumnWidth(List(dialog), column), 10) << "fits its header";
        Command(dialog, ID_LOG_MARK_ALL_SEEN);
    });
    EXPECT_FALSE(KeyExists(MessageStorePath())) << "marking all seen without a store writes nothing";
}

TEST_F(MessageLog, TheNewestMessageComesFirstSelectedAndShownWithoutBeingMarkedSeen) {
    PutSlot('c', "Newer\nmessage", "0000000200000000", "Reading Room");
    PutSlot('a', "Older", "0000000100000000");
    PutString(MessageStorePath(), "bCaption", "a slot without a message is not listed");
    Run([&](HWND dialog) {
        EXPECT_EQ(Order(dialog), "ca");
        EXPECT_EQ(ListView_GetItemState(List(dialog), 0, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
        EXPECT_EQ(Pane(dialog), "Newer\r\nmessage");
        EXPECT_EQ(dialog_.shownSlot, 2);
        EXPECT_EQ(Cell(dialog, 0, 0), AfxLoadString(IDS_LOG_NEW));
        EXPECT_EQ(Cell(dialog, 0, 2), "Reading Room");
        EXPECT_EQ(Cell(dialog, 0, 3), AfxLoadString(IDS_NOBODY)) << "no user recorded";
        EXPECT_EQ(Cell(dialog, 0, 4), "Stop error");
        EXPECT_FALSE(Cell(dialog, 0, 1).empty());
    });
    EXPECT_EQ(Seen('a'), "(none)");
    EXPECT_EQ(Seen('c'), "(none)");
}

TEST_F(MessageLog, ColumnClicksTurnTheOrderAndSortTextsWithoutRegardToCase) {
    PutSlot('a', "1", "0000000300000000", "front desk");
    PutSlot('b', "2", "0000000100000000", "Reading Room");
    PutSlot('c', "3", "0000000200000000", "Front Desk");
    PutSlot('d', "4", "000000020000000", "Archive");  // 15 characters: no time
    Run([&](HWND dialog) {
        EXPECT_EQ(Order(dialog), "acbd");
        ClickColumn(dialog, 1);
        EXPECT_EQ(Order(dialog), "dbca") << "oldest first; no time counts as day 0";
        ClickColumn(dialog, 1);
        EXPECT_EQ(Order(dialog), "acbd");
        ClickColumn(dialog, 2);
        EXPECT_EQ(Order(dialog), "dcab") << "equal names in ascending time";
        int archive = 0;
        EXPECT_EQ(Cell(dialog, archive, 1), "") << "a stamp of 15 characters shows no time";
    });
}

TEST_F(MessageLog, ReportingTheShownRowAgainTogglesItsStatusAndAnotherRowOnlyShows) {
    PutSlot('a', "First", "0000000200000000");
    PutSlot('b', "Second", "0000000100000000");
    Run([&](HWND dialog) {
        ReportSelected(dialog, 0);
        EXPECT_EQ(Cell(dialog, 0, 0), AfxLoadString(IDS_LOG_SEEN));
        EXPECT_EQ(Seen('a'), "1");
        ReportSelected(dialog, 0);
        EXPECT_EQ(Cell(dialog, 0, 0), AfxLoadString(IDS_LOG_NEW));
        EXPECT_EQ(Seen('a'), "0");

        ReportSelected(dialog, 1);
        EXPECT_EQ(Pane(dialog), "Second");
        ReportSelected(dialog, 0);
        EXPECT_EQ(Pane(dialog), "First");
        EXPECT_EQ(Cell(dialog, 0, 0), AfxLoadString(IDS_LOG_NEW));
        EXPECT_EQ(Seen('b'), "(none)");
    });
}

TEST_F(MessageLog, MarkingAllSeenWritesOnlyNewMessagesAndRebuildsOnlyThen) {
    PutSlot('a', "First", "0000000200000000", "Front Desk", 2);
    PutSlot('b', "Second", "0000000100000000", "Front Desk", 1);
    Run([&](HWND dialog) {
        ReportSelected(dialog, 1);
        Command(dialog, ID_LOG_MARK_ALL_SEEN);
        EXPECT_EQ(Pane(dialog), "Second") << "nothing changed, so the list was not rebuilt";
    });
    EXPECT_EQ(Seen('a'), "2");

    PutSlot('c', "Third", "0000000300000000", "Front Desk", 0);
    Run([&](HWND dialog) {
        ReportSelected(dialog, 1);
        Command(dialog, ID_LOG_MARK_ALL_SEEN);
        EXPECT_EQ(Pane(dialog), "Third") << "rebuilt: the newest is shown again";
        EXPECT_EQ(Cell(dialog, 0, 0), AfxLoadString(IDS_LOG_SEEN));
    });
    EXPECT_EQ(Seen('a'), "2");
    EXPECT_EQ(Seen('c'), "1");
}

TEST_F(MessageLog, DeletingAsksFirstAndNoKeepsTheStore) {
    PutSlot('a', "First", "0000000200000000");
    Run([&](HWND dialog) {
        Command(dialog, ID_LOG_DELETE);
        EXPECT_EQ(ListView_GetItemCount(List(dialog)), 1);
        answer_ = IDYES;
        Command(dialog, ID_LOG_DELETE);
        EXPECT_EQ(ListView_GetItemCount(List(dialog)), 0);
        EXPECT_EQ(Pane(dialog), AfxLoadString(IDS_LOG_EMPTY));
        EXPECT_FALSE(KeyExists(MessageStorePath()));
        // A station writes again while the emptied list is shown: marking
        // all seen touches neither the deleted slot nor the unseen new one.
        PutSlot('c', "Later", "0000000300000000");
        Command(dialog, ID_LOG_MARK_ALL_SEEN);
    });
    EXPECT_EQ(asked_, std::vector<std::string>(2, AfxLoadString(IDS_LOG_CONFIRM_DELETE)));
    EXPECT_EQ(Seen('a'), "(none)");
    EXPECT_EQ(Seen('c'), "(none)");
}

TEST_F(MessageLog, ThePaneIsWhiteOnBlueAndOtherControlsKeepTheirColours) {
    Run([&](HWND dialog) {
        HDC dc = GetDC(dialog);
        LRESULT brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_LOG_TEXT)));
        EXPECT_NE(brush, 0);
        EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
        EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 255));
        LOGBRUSH description = {};
        GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof description, &description);
        EXPECT_EQ(description.lbColor, RGB(0, 0, 255));
        LRESULT other = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, ID_LOG_DELETE)));
        EXPECT_NE(other, brush);
        EXPECT_NE(GetTextColor(dc), RGB(255, 255, 255));
        ReleaseDC(dialog, dc);
    });
}

}  // namespace
