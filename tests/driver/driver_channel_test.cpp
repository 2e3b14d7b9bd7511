// The channel's requests as the driver receives them, read back from the
// stand-in driver's request log.
#include <cstring>
#include <string>

#include "channel_fixture.h"

namespace {

using test_support::LoggedRequest;

std::vector<uint8_t> Bytes(const std::string& text, size_t size) {
    std::vector<uint8_t> bytes(size, 0);
    std::memcpy(bytes.data(), text.data(), std::min(text.size(), size));
    return bytes;
}

TEST_F(ChannelTest, LaunchSendsNamesCutTo31CharactersAndReportsSuccessAsZero) {
    test_support::PrepareStation(2, true);
    std::string station(40, 'S'), user(32, 'u');
    EXPECT_EQ(DriverChannel::LaunchStation(station.c_str(), user.c_str(), 1), 0);

    auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, 0x220802u);
    ASSERT_EQ(requests[0].input.size(), 68u);
    std::vector<uint8_t> expected = Bytes(station.substr(0, 31), 32);
    std::vector<uint8_t> userBytes = Bytes(user.substr(0, 31), 32);
    expected.insert(expected.end(), userBytes.begin(), userBytes.end());
    expected.insert(expected.end(), {1, 0, 0, 0});
    EXPECT_EQ(requests[0].input, expected);
}

TEST_F(ChannelTest, RefusedLaunchIsReportedAsNonZero) {
    test_support::PrepareStation(3, false);
    EXPECT_NE(DriverChannel::LaunchStation("Lab", "alice", 2), 0);
    test_support::PrepareStation(3, true);
    EXPECT_EQ(DriverChannel::LaunchStation("Lab", "alice", 2), 0);
    EXPECT_TRUE(test_support::UserHiveLoaded("alice"));
}

TEST_F(ChannelTest, TextsAreSentInFullUpTo255CharactersAndCutBeyond) {
    std::string exact(255, 'x'), longer(300, 'y');
    ASSERT_TRUE(DriverChannel::SendText(exact.c_str()));
    ASSERT_TRUE(DriverChannel::SendText(longer.c_str()));

    auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& request : requests) EXPECT_EQ(request.code, 0x22080Du);
    EXPECT_EQ(requests[0].input, Bytes(exact, 256));
    EXPECT_EQ(requests[1].input, Bytes(longer.substr(0, 255), 256));
    auto shown = driver_.Texts();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], longer.substr(0, 255));
}

TEST_F(ChannelTest, QueryPendingGivesTheDriversByteCount) {
    EXPECT_EQ(DriverChannel::QueryPending(), 0u);
    ASSERT_TRUE(driver_.SetPending(true));
    EXPECT_NE(DriverChannel::QueryPending(), 0u);

    auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].code, 0x220813u);
    EXPECT_EQ(requests[0].inputLength, 0u);
}

TEST_F(ChannelTest, WithoutADriverEveryRequestFailsAndAutoLaunchMakesNone) {
    applicationDevice = INVALID_HANDLE_VALUE;
    DriverChannel::ForgetKeptHandle();
    ASSERT_TRUE(driver_.SetPending(true));

    EXPECT_EQ(DriverChannel::AutoLaunchStations(), 0);
    EXPECT_EQ(DriverChannel::QueryPending(), 0u);
    EXPECT_NE(DriverChannel::LaunchStation("Lab", "alice", 0), 0);
    LaunchRecord record = {};
    EXPECT_FALSE(DriverChannel::FirstLaunch(record));
    EXPECT_FALSE(DriverChannel::SendText("hello"));
    EXPECT_TRUE(Requests().empty());
}

TEST_F(ChannelTest, AutoLaunchIsOneRequestThatLaunchesTheMarkedStations) {
    test_support::PrepareStation(1, true, true, "Front Desk", "reception");
    test_support::PrepareStation(2, true, false, "Reading Room", "reader");
    EXPECT_EQ(DriverChannel::AutoLaunchStations(), 1);

    auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, 0x22081Au);
    LaunchRecord record;
    EXPECT_TRUE(DriverChannel::FindLaunchedStation(0, "Front Desk", record));
    EXPECT_STREQ(record.userName, "reception");
    EXPECT_FALSE(DriverChannel::FindLaunchedStation(1, "Reading Room", record));
}

TEST_F(ChannelTest, AValidHandleIsKeptForTheRestOfTheProcess) {
    EXPECT_EQ(DriverChannel::QueryPending(), 0u);  // keeps the handle
    applicationDevice = INVALID_HANDLE_VALUE;      // the application lets go
    EXPECT_EQ(DriverChannel::AutoLaunchStations(), 1);
    EXPECT_EQ(Requests().size(), 2u);
}

TEST_F(ChannelTest, ShutdownSendsTheModeInFourThenTwoBytes) {
    EXPECT_TRUE(DriverChannel::PrepareShutdown(67));
    EXPECT_TRUE(DriverChannel::ExecuteShutdown(0x10043));

    auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].code, 0x22080Eu);
    EXPECT_EQ(requests[0].input, (std::vector<uint8_t>{0x43, 0, 0, 0}));
    EXPECT_EQ(requests[1].code, 0x220810u);
    EXPECT_EQ(requests[1].input, (std::vector<uint8_t>{0x43, 0}));
    CorehubStatus status = driver_.Status();
    EXPECT_EQ(status.shutdownMode, 67u);
    EXPECT_EQ(status.shutdownStage, 2u);
}

}  // namespace
