// The driver commands against the stand-in driver of the test host. Without
// a driver every one of them must say so and exit with 2; with it, what the
// station side does must show in the driver's answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "corehub_device.h"
#include "corehub_protocol.h"
#include "run_command.h"

using namespace stationctl;

namespace {

bool DriverPresent() {
    HANDLE device = CreateFileA(COREHUB_WIN32_NAME, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) return false;
    CloseHandle(device);
    return true;
}

const std::vector<std::vector<std::string>> kDriverCommands = {
    {"run", "1", "NOTEPAD.EXE"},
    {"pending", "on"},
    {"at-station", "off"},
    {"device", "remove", "0x3AE3"},
    {"show"},
    {"status"},
    {"list"},
    {"requests"},
    {"reset"},
};

}  // namespace

TEST(DriverCommandArguments, AreCheckedBeforeTheDriverIsAsked) {
    const std::vector<std::vector<std::string>> bad = {
        {"run", "9", "NOTEPAD.EXE"},
        {"run", "0", "NOTEPAD.EXE"},
        {"run", "1"},
        {"run", "1", std::string(128, 'c')},
        {"run", "1", "NOTEPAD.EXE", "--task", std::string(20, 't')},
        {"run", std::string(32, 'n'), "NOTEPAD.EXE"},
        {"pending", "maybe"},
        {"pending"},
        {"at-station", "1"},
        {"device", "hide", "0x3AE3"},
        {"device", "remove", "0x10000"},
        {"device", "remove", "65536"},
        {"device", "remove"},
        {"show", "9"},
        {"show", "1", "2"},
        {"status", "now"},
        {"list", "--all"},
        {"requests", "10"},
        {"reset", "all"},
    };
    for (const auto& args : bad) {
        CommandRun run = RunCommand(args);
        EXPECT_EQ(run.exitCode, kExitBadArguments) << args[0] << " " << args.back();
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    }
}

TEST(DriverCommandsWithoutDriver, EachSaysNoDriverAndExitsWith2) {
    if (DriverPresent()) GTEST_SKIP() << "the stand-in driver runs on this host";
    for (const auto& args : kDriverCommands) {
        CommandRun run = RunCommand(args);
        EXPECT_EQ(run.exitCode, kExitNoDriver) << args[0];
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
        EXPECT_NE(run.err.find("no driver"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << args[0];
    }
}

class DriverCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DriverPresent()) GTEST_SKIP() << "the stand-in driver is not running";
        ASSERT_TRUE(device_.Open().ok());
        ASSERT_EQ(RunCommand({"reset"}).exitCode, 0);
    }
    void TearDown() override {
        if (DriverPresent()) RunCommand({"reset"});
    }

    // A request of the product's series, as the control center sends it.
    bool Product(DWORD code, void* buffer, DWORD size) {
        DWORD returned = 0, error = 0;
        return device_.Request(code, buffer, size, buffer, size, returned, error);
    }
    bool SendText(const std::string& text) {
        char record[COREHUB_TEXT_RECORD_SIZE] = {};
        std::memcpy(record, text.data(), std::min<size_t>(text.size(), sizeof record - 1));
        return Product(COREHUB_SEND_TEXT, record, sizeof record);
    }
    bool AddLaunch(const char* station, const char* user, int32_t index) {
        CorehubLaunchEntry entry = {};
        std::strncpy(entry.stationName, station, sizeof entry.stationName - 1);
        std::strncpy(entry.userName, user, sizeof entry.userName - 1);
        entry.stationIndex = index;
        DWORD returned = 0, error = 0;
        return device_.Request(COREHUB_PRIVATE_ADD_LAUNCH, &entry, sizeof entry, nullptr, 0, returned, error);
    }
    static std::string StatusLine(const std::string& name) {
        std::string out = RunCommand({"status"}).out;
        size_t at = out.find(name + ": ");
        if (at == std::string::npos) return "";
        return out.substr(at, out.find('\n', at) - at);
    }

    CorehubDevice device_;
};

TEST_F(DriverCommandTest, SwitchesShowInTheStatus) {
    EXPECT_EQ(StatusLine("pending work"), "pending work: off");
    ASSERT_EQ(RunCommand({"pending", "on"}).exitCode, 0);
    ASSERT_EQ(RunCommand({"at-station", "ON"}).exitCode, 0);
    EXPECT_EQ(StatusLine("pending work"), "pending work: on");
    EXPECT_EQ(StatusLine("at station"), "at station: on");
    ASSERT_EQ(RunCommand({"pending", "off"}).exitCode, 0);
    EXPECT_EQ(StatusLine("pending work"), "pending work: off");
    ASSERT_EQ(RunCommand({"reset"}).exitCode, 0);
    EXPECT_EQ(StatusLine("at station"), "at station: off");
}

TEST_F(DriverCommandTest, RequestsListsTheProductsRequestsButNotOurOwn) {
    Product(COREHUB_QUERY_PENDING, nullptr, 0);
    ASSERT_TRUE(SendText("Hi"));
    CommandRun run = RunCommand({"requests"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string expectedText = "0x22080D 48 69";
    for (int i = 2; i < 256; ++i) expectedText += " 00";
    EXPECT_EQ(run.out, "0x220813\n" + expectedText + "\n");
    EXPECT_EQ(StatusLine("requests"), "requests: 2");
}

TEST_F(DriverCommandTest, RequestsPagesThroughALongLog) {
    for (int i = 0; i < 70; ++i) Product(COREHUB_QUERY_PENDING, nullptr, 0);
    CommandRun run = RunCommand({"requests"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 70);
}

TEST_F(DriverCommandTest, ShowPrintsTheTextsOldestFirstOnePerLine) {
    EXPECT_EQ(RunCommand({"show"}).out, "");
    ASSERT_TRUE(SendText("Closing at six"));
    ASSERT_TRUE(SendText("Line\nbreak"));
    CommandRun run = RunCommand({"show", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Closing at six\nLine\\nbreak\n");
}

TEST_F(DriverCommandTest, RunStartsAProgramAtALaunchedStationByNumberOrName) {
    CommandRun refused = RunCommand({"run", "3", "NOTEPAD.EXE"});
    EXPECT_EQ(refused.exitCode, kExitFailed);
    EXPECT_TRUE(IsOneLine(refused.err)) << refused.err;

    ASSERT_TRUE(AddLaunch("Front Desk", "reception", 2));
    CommandRun byNumber = RunCommand({"run", "3", "C:\\WINDOWS\\NOTEPAD.EXE"});
    ASSERT_EQ(byNumber.exitCode, 0) << byNumber.err;
    CommandRun byName = RunCommand({"run", "front desk", "C:\\WINDOWS\\CALC.EXE", "--task", "sums"});
    ASSERT_EQ(byName.exitCode, 0) << byName.err;
    EXPECT_NE(byNumber.out, byName.out);
    EXPECT_EQ(StatusLine("programs"), "programs: 2");

    CommandRun list = RunCommand({"list"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("station 3: \"Front Desk\", user \"reception\"\n  task " + byNumber.out +
                            "    C:\\WINDOWS\\NOTEPAD.EXE\n  task " + byName.out + "    C:\\WINDOWS\\CALC.EXE\n"),
              std::string::npos)
        << list.out;

    CommandRun unknown = RunCommand({"run", "Nobody Here", "CALC.EXE"});
    EXPECT_EQ(unknown.exitCode, kExitFailed);
    EXPECT_NE(unknown.err.find("Nobody Here"), std::string::npos);
}

TEST_F(DriverCommandTest, DevicesLeaveAndReturnToTheReportedList) {
    ASSERT_NE(RunCommand({"list"}).out.find("device 0x3AE3"), std::string::npos);
    ASSERT_EQ(RunCommand({"device", "remove", "0x3AE3"}).exitCode, 0);
    EXPECT_EQ(RunCommand({"list"}).out.find("device 0x3AE3"), std::string::npos);
    ASSERT_EQ(RunCommand({"device", "restore", "15075"}).exitCode, 0);
    EXPECT_NE(RunCommand({"list"}).out.find("device 0x3AE3"), std::string::npos);

    CommandRun unknown = RunCommand({"device", "remove", "0x1234"});
    EXPECT_EQ(unknown.exitCode, kExitFailed);
    EXPECT_TRUE(IsOneLine(unknown.err)) << unknown.err;
}
