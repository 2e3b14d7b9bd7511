// Sending a text to the stations and shutting the system down, through the
// real dialogs and the stand-in driver.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "model_fixture.h"
#include "program_driver.h"
#include "resource_ids.h"
#include "resources.h"
#include "seams.h"
#include "station_messages.h"
#include "text.h"

namespace {

const uint32_t kSendText = 0x22080D;
const uint32_t kPrepareShutdown = 0x22080E;
const uint32_t kExecuteShutdown = 0x220810;

class StationMessages : public DriverModelTest {
protected:
    void SetUp() override {
        DriverModelTest::SetUp();
        model_ = std::make_unique<SystemConfig>();
    }

    static void PutStation(int number, bool launched) {
        PutByte(StationKey(number), "Detected", 1);
        PutByte(StationKey(number), "Launched", launched ? 1 : 0);
    }
    // Works each dialog the command opens with the matching handler; a
    // dialog without one is left to itself.
    void Operate(std::function<void(HWND)> message, std::function<void(HWND)> choice = nullptr,
                 std::function<void(HWND)> confirmation = nullptr) {
        AfxSetModalOperator([=](HWND dialog) {
            if (GetDlgItem(dialog, IDC_MESSAGE_TEXT) && message) message(dialog);
            if (GetDlgItem(dialog, IDC_SHUTDOWN_POWER_OFF) && choice) choice(dialog);
            if (GetDlgItem(dialog, IDC_CONFIRM_LIST) && confirmation) confirmation(dialog);
        });
    }
    // Types over the edit box's text as the user would (a multi-line box
    // reports no change for text that is set whole).
    static void Type(HWND dialog, int id, const char* text) {
        SendDlgItemMessageA(dialog, id, EM_SETSEL, 0, -1);
        SendDlgItemMessageA(dialog, id, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }
    static std::string Sender() {
        char name[260] = {};
        DWORD size = sizeof name;
        GetUserNameA(name, &size);
        return AfxTrim(name);
    }
    std::vector<test_support::LoggedRequest> RequestsOf(uint32_t code) {
        std::vector<test_support::LoggedRequest> found;
        for (auto& request : driver_.Requests())
            if (request.code == code) found.push_back(request);
        return found;
    }
    std::vector<uint32_t> Codes() {
        std::vector<uint32_t> codes;
        for (auto& request : driver_.Requests()) codes.push_back(request.code);
        return codes;
    }
    static std::string SentText(const test_support::LoggedRequest& request) {
        return std::string(reinterpret_cast<const char*>(request.input.data()),
                           strnlen(reinterpret_cast<const char*>(request.input.data()), request.input.size()));
    }
    static uint32_t Mode(const test_support::LoggedRequest& request) {
        uint32_t mode = 0;
        std::memcpy(&mode, request.input.data(), std::min<size_t>(sizeof mode, request.input.size()));
        return mode;
    }

    std::unique_ptr<SystemConfig> model_;
};

TEST_F(StationMessages, WithoutARunningStationNothingIsSent) {
    PutStation(1, false);
    SendMessageCommand(*model_, nullptr);
    PutStation(2, false);
    SendMessageCommand(*model_, nullptr);
    EXPECT_EQ(shownMessages, (std::vector<UINT>{IDS_STATION_NOT_RUNNING, IDS_NO_STATION_RUNNING}));
    EXPECT_TRUE(driver_.Requests().empty());
}

TEST_F(StationMessages, TheMessageIsTrimmedSignedAndSentOnceItWasEdited) {
    PutStation(1, true);
    bool disabledAtFirst = false, enabledAfterEdit = false;
    std::string offered;
    Operate([&](HWND dialog) {
        offered = test_support::ItemText(dialog, IDC_MESSAGE_TEXT);
        disabledAtFirst = !IsWindowEnabled(GetDlgItem(dialog, IDOK));
        Type(dialog, IDC_MESSAGE_TEXT, "  Closing in ten minutes \r\n");
        enabledAfterEdit = IsWindowEnabled(GetDlgItem(dialog, IDOK));
        test_support::Click(dialog, IDOK);
    });
    SendMessageCommand(*model_, nullptr);
    EXPECT_EQ(offered, AfxTrim(AfxLoadString(IDS_DEFAULT_MESSAGE)));
    EXPECT_TRUE(disabledAtFirst);
    EXPECT_TRUE(enabledAfterEdit);
    auto sent = RequestsOf(kSendText);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(SentText(sent[0]),
              AfxFormat(AfxLoadString(IDS_MESSAGE_FORMAT).c_str(), Sender().c_str(), "Closing in ten minutes"));
    EXPECT_TRUE(shownMessages.empty());
}

TEST_F(StationMessages, OnlyWhiteSpaceOrCancelSendsNothing) {
    PutStation(1, true);
    Operate([&](HWND dialog) {
        Type(dialog, IDC_MESSAGE_TEXT, " \t \r\n ");
        test_support::Click(dialog, IDOK);
    });
    SendMessageCommand(*model_, nullptr);
    Operate([&](HWND dialog) {
        Type(dialog, IDC_MESSAGE_TEXT, "Hello");
        test_support::Click(dialog, IDCANCEL);
    });
    SendMessageCommand(*model_, nullptr);
    EXPECT_TRUE(RequestsOf(kSendText).empty());
}

TEST_F(StationMessages, ARestartAnnouncesPreparesConfirmsByItselfAndCountsDown) {
    PutStation(1, true);
    std::string progressBeforeConfirmation, confirmButton;
    Operate(
        nullptr,
        [&](HWND dialog) {
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SHUTDOWN_POWER_OFF), static_cast<UINT>(BST_CHECKED));
            test_support::Click(dialog, IDC_SHUTDOWN_RESTART);
            test_support::Click(dialog, IDOK);
        },
        [&](HWND dialog) {
            HWND progress = FindWindowA(nullptr, "Shutting Down");
            progressBeforeConfirmation = test_support::ItemText(progress, IDC_PROGRESS_TEXT);
            confirmButton = test_support::ItemText(dialog, IDOK);
            // Left alone, it confirms on its own.
        });
    ShutdownCommand(*model_, nullptr);

    EXPECT_EQ(Codes(), (std::vector<uint32_t>{kSendText, kPrepareShutdown, kExecuteShutdown}));
    EXPECT_EQ(SentText(RequestsOf(kSendText)[0]), AfxLoadString(IDS_ANNOUNCE_RESTART));
    EXPECT_EQ(Mode(RequestsOf(kPrepareShutdown)[0]), 67u);
    EXPECT_EQ(RequestsOf(kExecuteShutdown)[0].inputLength, 2u);
    EXPECT_EQ(Mode(RequestsOf(kExecuteShutdown)[0]), 67u);
    EXPECT_EQ(progressBeforeConfirmation, AfxLoadString(IDS_PROGRESS_PREPARING));
    EXPECT_EQ(confirmButton, AfxLoadString(IDS_CONFIRM_GO));
    EXPECT_EQ(clock_.slept, 4000u + 4000u + 30 * 1000u);
    EXPECT_EQ(FindWindowA(nullptr, "Shutting Down"), nullptr) << "the progress window is gone";
    EXPECT_EQ(SystemConfig().shutdownEnabled, 1u);
}

TEST_F(StationMessages, DecliningTheConfirmationSendsOnlyTheCancellation) {
    PutStation(1, true);
    Operate(
        nullptr, [&](HWND dialog) { test_support::Click(dialog, IDOK); },
        [&](HWND dialog) { test_support::Click(dialog, IDCANCEL); });
    ShutdownCommand(*model_, nullptr);

    EXPECT_EQ(Codes(), (std::vector<uint32_t>{kSendText, kPrepareShutdown, kSendText}));
    auto sent = RequestsOf(kSendText);
    EXPECT_EQ(SentText(sent[0]), AfxLoadString(IDS_ANNOUNCE_POWER_OFF));
    EXPECT_EQ(SentText(sent[1]), AfxLoadString(IDS_CANCEL_POWER_OFF));
    EXPECT_EQ(Mode(RequestsOf(kPrepareShutdown)[0]), 1u);
    EXPECT_EQ(clock_.slept, 8000u);
    EXPECT_EQ(FindWindowA(nullptr, "Shutting Down"), nullptr);
    EXPECT_EQ(SystemConfig().shutdownEnabled, 1u) << "stays set";
}

TEST_F(StationMessages, ARefusedTextIsReportedTheMessageEndsAndTheShutdownGoesOn) {
    PutStation(1, true);
    ASSERT_TRUE(driver_.SetFailingCode(kSendText));
    Operate([&](HWND dialog) {
        Type(dialog, IDC_MESSAGE_TEXT, "Closing soon");
        test_support::Click(dialog, IDOK);
    });
    SendMessageCommand(*model_, nullptr);
    EXPECT_EQ(shownMessages, std::vector<UINT>{IDS_SEND_FAILED});

    shownMessages.clear();
    Operate(
        nullptr, [&](HWND dialog) { test_support::Click(dialog, IDOK); },
        [&](HWND dialog) { test_support::Click(dialog, IDCANCEL); });
    ShutdownCommand(*model_, nullptr);
    // Both the announcement and the cancellation were refused and said so;
    // the shutdown was prepared between them all the same.
    EXPECT_EQ(shownMessages, std::vector<UINT>(2, IDS_SEND_FAILED));
    EXPECT_EQ(Codes(), (std::vector<uint32_t>{kSendText, kSendText, kPrepareShutdown, kSendText}));
    EXPECT_EQ(clock_.slept, 8000u);
}

TEST_F(StationMessages, NeitherOptionCheckedCountsAsTheSecond) {
    PutStation(1, true);
    std::string confirmButton;
    Operate(
        nullptr,
        [&](HWND dialog) {
            CheckDlgButton(dialog, IDC_SHUTDOWN_POWER_OFF, BST_UNCHECKED);
            test_support::Click(dialog, IDOK);
        },
        [&](HWND dialog) {
            confirmButton = test_support::ItemText(dialog, IDOK);
            test_support::Click(dialog, IDCANCEL);
        });
    ShutdownCommand(*model_, nullptr);
    EXPECT_EQ(confirmButton, AfxLoadString(IDS_CONFIRM_OK));
    EXPECT_EQ(Mode(RequestsOf(kPrepareShutdown)[0]), 67u);
    EXPECT_EQ(SentText(RequestsOf(kSendText)[1]), AfxLoadString(IDS_CANCEL_RESTART));
}

TEST_F(StationMessages, CancellingTheChoiceDoesNothing) {
    PutStation(1, true);
    Operate(nullptr, [&](HWND dialog) { test_support::Click(dialog, IDCANCEL); });
    ShutdownCommand(*model_, nullptr);
    EXPECT_TRUE(driver_.Requests().empty());
    EXPECT_EQ(clock_.slept, 0u);
    EXPECT_EQ(SystemConfig().shutdownEnabled, 0u);
}

}  // namespace
