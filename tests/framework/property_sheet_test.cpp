// Property sheets: how a run ends, which pages hear OK, and a page that
// refuses to be left.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "data_exchange.h"
#include "program_driver.h"
#include "property_sheet.h"
#include "resource_ids.h"
#include "resource_library_suite.h"
#include "seams.h"
#include "sheet_tabs.h"

namespace {

// A page over the board template whose name must not be longer than four
// characters; it counts the OKs it hears.
class NamePage : public CPropertyPage {
public:
    explicit NamePage(UINT captionId = 0) : CPropertyPage(IDD_BOARD_PAGE, captionId) {}
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Text(exchange, IDC_BOARD_NAME, name);
        DDV_MaxChars(exchange, name, 4);
    }
    void OnOK() override { ++applied; }
    std::string name;
    int applied = 0;
};

class SheetRun : public test_support::ResourceLibrarySuite {
protected:
    void SetUp() override {
        ResourceLibrarySuite::SetUp();
        AfxSetMessageBoxHandler([this](HWND, const std::string&, const std::string&, UINT) {
            ++boxes_;
            return IDOK;
        });
    }
    void TearDown() override {
        AfxSetMessageBoxHandler(nullptr);
        AfxSetModalOperator(nullptr);
    }
    static INT_PTR Run(CPropertySheet& sheet, const std::function<void(HWND)>& operate) {
        AfxSetModalOperator(operate);
        return sheet.DoModal();
    }

    int boxes_ = 0;
};

TEST_F(SheetRun, OkEndsWithIdokAndReachesOnlyThePagesThatWereShown) {
    NamePage first(IDS_BOARD_SHEET), second;
    CPropertySheet sheet(IDS_STATION_SHEET);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    std::vector<std::string> tabs;
    EXPECT_EQ(Run(sheet,
                  [&](HWND window) {
                      tabs = test_support::SheetTabs(window);
                      test_support::Click(window, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(tabs, (std::vector<std::string>{"Adapter Boards", "Board"}))
        << "without a title of its own a page shows its template's caption";
    EXPECT_EQ(first.applied, 1);
    EXPECT_EQ(second.applied, 0);
}

TEST_F(SheetRun, CancelEndsWithIdcancelAndAppliesNothing) {
    NamePage page;
    CPropertySheet sheet(IDS_STATION_SHEET);
    sheet.AddPage(&page);
    EXPECT_EQ(Run(sheet, [&](HWND window) { test_support::Click(window, IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(page.applied, 0);
}

TEST_F(SheetRun, APageThatRefusesItsControlsKeepsTheSheetOpen) {
    NamePage first, second;
    CPropertySheet sheet(IDS_STATION_SHEET);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    bool keptPage = false, keptSheet = false;
    EXPECT_EQ(Run(sheet,
                  [&](HWND window) {
                      HWND page = reinterpret_cast<HWND>(SendMessageA(window, PSM_GETCURRENTPAGEHWND, 0, 0));
                      SetDlgItemTextA(page, IDC_BOARD_NAME, "too long");
                      SendMessageA(window, PSM_SETCURSEL, 1, 0);
                      keptPage = reinterpret_cast<HWND>(SendMessageA(window, PSM_GETCURRENTPAGEHWND, 0, 0)) == page;
                      test_support::Click(window, IDOK);
                      keptSheet = IsWindow(window) && SendMessageA(window, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
                      test_support::Click(window, IDCANCEL);
                  }),
              IDCANCEL);
    EXPECT_TRUE(keptPage);
    EXPECT_TRUE(keptSheet);
    EXPECT_EQ(boxes_, 2);
    EXPECT_EQ(first.applied, 0);
}

TEST_F(SheetRun, ASheetWithoutPagesIsNotShown) {
    CPropertySheet sheet(IDS_STATION_SHEET);
    bool shown = false;
    EXPECT_EQ(Run(sheet, [&](HWND) { shown = true; }), IDCANCEL);
    EXPECT_FALSE(shown);
}

}  // namespace
