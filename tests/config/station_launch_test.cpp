// Launching and stopping a station through the stand-in driver: what the
// driver receives, the board's count and the station's key afterwards.
#include <cstring>
#include <string>

#include "corehub_client.h"
#include "model_fixture.h"

namespace {

class StationLaunch : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        ASSERT_TRUE(driver_.IsOpen());
        driver_.Reset();
        PutByte(BoardKey(1), "Detected", 1);
        PutByte(StationKey(2), "Detected", 1);
        PutString(StationKey(2), "Station Name", "Lab");
        PutString(StationKey(2), "Default User", "alice");
    }
    void TearDown() override {
        driver_.Reset();
        RegDeleteTreeA(HKEY_USERS, "alice");
        RegDeleteTreeA(HKEY_USERS, "bob");
    }
    test_support::CorehubClient driver_;
};

TEST_F(StationLaunch, LaunchSendsTheStationAndRecordsItsUser) {
    SystemConfig config;
    StationConfig& station = config.stations[1];
    ASSERT_EQ(station.Launch("alice"), 1);
    EXPECT_EQ(config.boards[0].launchedCount, 1u);
    EXPECT_EQ(station.loggedInUser, "alice");

    auto requests = driver_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, 0x220802u);
    EXPECT_STREQ(reinterpret_cast<const char*>(requests[0].input.data()), "Lab");
    EXPECT_STREQ(reinterpret_cast<const char*>(requests[0].input.data() + 32), "alice");
    EXPECT_EQ(requests[0].input[64], 1);

    std::string bytes;
    Stored(StationKey(2), "Launched", &bytes);
    EXPECT_EQ(bytes, std::string(1, '\x01'));
    Stored(StationKey(2), "Logged In User", &bytes);
    EXPECT_EQ(bytes, std::string("alice", 6));
    // A launched station cannot be launched again, and asks nothing.
    EXPECT_EQ(station.Launch("alice"), 0);
    EXPECT_EQ(driver_.Requests().size(), 1u);
}

TEST_F(StationLaunch, ARefusedLaunchIsReportedAndChangesNothing) {
    SystemConfig config;
    PutByte(StationKey(2), "Detected", 0);  // the driver's hardware lost it
    StationConfig& station = config.stations[1];
    EXPECT_EQ(station.Launch("alice"), 0);
    EXPECT_EQ(shownMessages, std::vector<UINT>{2026});
    EXPECT_EQ(station.launched, 0u);
    EXPECT_EQ(config.boards[0].launchedCount, 0u);
}

TEST_F(StationLaunch, StopFindsTheStationByNameAndLowersTheCount) {
    SystemConfig config;
    StationConfig& station = config.stations[1];
    ASSERT_EQ(station.Launch("alice"), 1);
    ASSERT_EQ(station.Stop(), 1);
    EXPECT_EQ(station.launched, 0u);
    EXPECT_EQ(config.boards[0].launchedCount, 0u);
    std::string bytes;
    Stored(StationKey(2), "Launched", &bytes);
    EXPECT_EQ(bytes, std::string(1, '\x00'));
    EXPECT_FALSE(test_support::UserHiveLoaded("alice"));
    // Once more: nothing left to stop, and the count stays at zero.
    EXPECT_EQ(station.Stop(), 0);
    EXPECT_EQ(config.boards[0].launchedCount, 0u);

    // The driver keeps the first 31 characters of a longer name.
    station.stationName = "Reading Room by the Harbour Window";
    ASSERT_EQ(station.Launch("alice"), 1);
    EXPECT_EQ(station.Stop(), 1);
    EXPECT_EQ(station.launched, 0u);
}

TEST_F(StationLaunch, StopActsOnTheStationsOwnRecordWhateverItsName) {
    SystemConfig config;
    // Renamed while launched: its record still carries its index.
    StationConfig& station = config.stations[1];
    ASSERT_EQ(station.Launch("alice"), 1);
    station.stationName = "Elsewhere";
    EXPECT_EQ(station.Stop(), 1);
    EXPECT_EQ(station.launched, 0u);
    EXPECT_FALSE(test_support::UserHiveLoaded("alice"));

    // Two stations whose names differ only in case: stopping one leaves the
    // other's session alone.
    test_support::PrepareStation(1, true);
    config.LoadAll();
    config.stations[0].stationName = "Desk";
    config.stations[1].stationName = "DESK";
    ASSERT_EQ(config.stations[0].Launch("alice"), 1);
    ASSERT_EQ(config.stations[1].Launch("bob"), 1);
    EXPECT_EQ(config.stations[1].Stop(), 1);
    EXPECT_FALSE(test_support::UserHiveLoaded("bob"));
    EXPECT_TRUE(test_support::UserHiveLoaded("alice"));
    EXPECT_EQ(config.stations[0].Stop(), 1);
    EXPECT_EQ(config.stations[1].Stop(), 0) << "nothing left to stop";
}

TEST_F(StationLaunch, AStationOnAnUnknownBoardLeavesEveryBoardCountAlone) {
    PutByte(StationKey(2), "Board Number", 5);
    SystemConfig config;
    ASSERT_EQ(config.stations[1].Launch("alice"), 1);
    for (const auto& board : config.boards) EXPECT_EQ(board.launchedCount, 0u);
    ASSERT_EQ(config.stations[1].Stop(), 1);
    for (const auto& board : config.boards) EXPECT_EQ(board.launchedCount, 0u);
}

}  // namespace
