// The station check: the report and title it builds from the driver's
// loaded devices and the station's state, the reset request that OK sends,
// and the repeated check of ordinary stations.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "model_fixture.h"
#include "program_driver.h"
#include "resource_ids.h"
#include "resources.h"
#include "seams.h"
#include "station_check.h"

namespace {

const uint32_t kStationRequest = 0x801;

// What one run of the dialog showed.
struct Shown {
    std::string caption;
    std::string report;
    std::vector<bool> boxes;  // drivers, base, keyboard, mouse, launched
};

class StationCheck : public DriverModelTest {
protected:
    // A station (the first unless told) on board 1, its initialisation and
    // launch as given.
    static void PutStation(const char* name, BYTE state, const char* boardName = "Station Adapter", int number = 1) {
        PutString(BoardKey(1), "Board Name", boardName);
        std::string key = StationKey(number);
        PutByte(key, "Detected", 1);
        PutByte(key, "Board Number", 0);
        PutString(key, "Station Name", name);
        for (const char* field : {"Zq Base Init", "Zq Keyboard Init", "Zq Mouse Init", "Launched"})
            PutByte(key, field, state);
    }
    // Each run of the dialog is recorded and answered by the next button.
    void Answer(std::vector<int> buttons) {
        AfxSetModalOperator([this, buttons](HWND dialog) {
            Shown shown{test_support::WindowText(dialog), test_support::ItemText(dialog, IDC_CHECK_REPORT), {}};
            for (int id : {IDC_CHECK_DRIVERS, IDC_CHECK_BASE, IDC_CHECK_KEYBOARD, IDC_CHECK_MOUSE, IDC_CHECK_LAUNCHED})
                shown.boxes.push_back(IsDlgButtonChecked(dialog, id) == BST_CHECKED);
            size_t run = shown_.size();
            shown_.push_back(shown);
            int button = run < buttons.size() ? buttons[run] : IDCANCEL;
            if (button == IDOK) {
                // A ticked box does not survive the reset: the fields show again.
                CheckDlgButton(dialog, IDC_CHECK_LAUNCHED, BST_CHECKED);
                SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
                reportAfterOk_.push_back(test_support::ItemText(dialog, IDC_CHECK_REPORT));
                launchedAfterOk_.push_back(IsDlgButtonChecked(dialog, IDC_CHECK_LAUNCHED) == BST_CHECKED);
            } else {
                SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
            }
        });
    }
    static std::string Named(UINT id, const char* name) { return AfxFormat(AfxLoadString(id).c_str(), name); }
    int StationRequests() {
        int count = 0;
        for (const auto& request : driver_.Requests())
            if (request.device == 1 && request.code == kStationRequest) ++count;
        return count;
    }

    std::vector<Shown> shown_;
    std::vector<std::string> reportAfterOk_;
    std::vector<bool> launchedAfterOk_;
};

TEST_F(StationCheck, AHealthyStationReportsAllWellWithEveryBoxTicked) {
    // The one detected station need not be the first: the check is its own.
    PutStation("Front Desk", 1, "Station Adapter", 2);
    Answer({IDCANCEL});
    SystemConfig model;
    StationCheckCommand(model, nullptr);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, Named(IDS_CHECK_TITLE_WELL, "Front Desk"));
    EXPECT_EQ(shown_[0].report, AfxLoadString(IDS_CHECK_ALL_WELL));
    EXPECT_EQ(shown_[0].boxes, std::vector<bool>(5, true));
    EXPECT_EQ(StationRequests(), 0) << "Close sends nothing";
}

TEST_F(StationCheck, ShowingEveryTextNamesAllDriversAndStationChecks) {
    PutStation("Front Desk", 1);
    PutByte(kProductKey, "DebugTestMessages", 1);
    Answer({IDCANCEL});
    SystemConfig model;
    StationCheckCommand(model, nullptr);
    ASSERT_EQ(shown_.size(), 1u);
    std::string expected;
    for (UINT id : {IDS_MISSING_COREHUB, IDS_MISSING_PORTLANE, IDS_MISSING_TRELLMON, IDS_MISSING_KEYRELAY,
                    IDS_MISSING_STATION_DEVICE})
        expected += AfxLoadString(id);
    for (UINT id : {IDS_BASE_INIT_FAILED, IDS_KEYBOARD_INIT_FAILED, IDS_MOUSE_INIT_FAILED, IDS_NOT_LAUNCHED})
        expected += Named(id, "Front Desk");
    expected += AfxLoadString(IDS_CHECK_ALL_WELL);
    EXPECT_EQ(shown_[0].report, expected);
    EXPECT_EQ(shown_[0].caption, Named(IDS_CHECK_TITLE_WELL, "Front Desk"));
    EXPECT_FALSE(shown_[0].boxes[0]) << "every driver counted as missing";
}

TEST_F(StationCheck, AMissingDisplayDeviceIsNamedButTheDriversStillCountAsLoaded) {
    PutStation("Front Desk", 1);
    ASSERT_TRUE(driver_.SetDevicePresent(0x011F, false));
    Answer({IDCANCEL});
    SystemConfig model;
    StationCheckCommand(model, nullptr);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].report, AfxLoadString(IDS_MISSING_STATION_DEVICE));
    EXPECT_EQ(shown_[0].caption, Named(IDS_CHECK_TITLE_PROBLEMS, "Front Desk"));
    EXPECT_TRUE(shown_[0].boxes[0]);
}

TEST_F(StationCheck, OkResetsTheStationAndChecksItAgain) {
    PutStation("Front Desk", 0);
    ASSERT_TRUE(driver_.SetDevicePresent(0x3AE5, false));
    Answer({IDOK, IDCANCEL});
    SystemConfig model;
    StationCheckCommand(model, nullptr);
    ASSERT_EQ(shown_.size(), 2u);
    std::string expected = AfxLoadString(IDS_MISSING_TRELLMON);
    for (UINT id : {IDS_BASE_INIT_FAILED, IDS_KEYBOARD_INIT_FAILED, IDS_MOUSE_INIT_FAILED, IDS_NOT_LAUNCHED})
        expected += Named(id, "Front Desk");
    EXPECT_EQ(shown_[0].report, expected);
    EXPECT_EQ(shown_[0].boxes, std::vector<bool>(5, false));
    ASSERT_EQ(reportAfterOk_.size(), 1u);
    EXPECT_EQ(reportAfterOk_[0], Named(IDS_CHECK_SENDING, "Front Desk")) << "shown while the request runs";
    EXPECT_FALSE(launchedAfterOk_[0]);
    EXPECT_EQ(StationRequests(), 1);
}

TEST_F(StationCheck, AMarkedStationIsShownOnceAndResetOnlyOnAPd1Board) {
    const std::pair<const char*, int> boards[] = {{"KX4 PB-4", 0}, {"KX4 PB-4 pd-1", 0}, {"KX4 PB-4 PD-1", 1}};
    for (const auto& [board, requests] : boards) {
        driver_.Reset();
        shown_.clear();
        PutStation("Front Desk", 1, board);
        Answer({IDOK, IDOK});
        SystemConfig model;
        StationCheckCommand(model, nullptr);
        ASSERT_EQ(shown_.size(), 1u) << board;
        EXPECT_EQ(shown_[0].boxes, (std::vector<bool>{true, false, false, false, false}))
            << "the station's own state is not looked at";
        EXPECT_EQ(shown_[0].report, AfxLoadString(IDS_CHECK_ALL_WELL));
        EXPECT_EQ(StationRequests(), requests) << board;
    }
}

TEST_F(StationCheck, CancellingThePickerShowsNoDialog) {
    PutStation("Front Desk", 1);
    PutByte(StationKey(2), "Detected", 1);
    AfxSetModalOperator([this](HWND dialog) {
        shown_.push_back({});
        SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
    });
    SystemConfig model;
    StationCheckCommand(model, nullptr);
    EXPECT_EQ(shown_.size(), 1u) << "only the picker";
}

}  // namespace
