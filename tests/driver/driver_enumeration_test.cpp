// Lists read from the driver: positions passed back, arrays that stop at
// their capacity, and the two finders.
#include <cstdio>
#include <cstring>
#include <string>

#include "channel_fixture.h"
#include "worker_thread.h"

namespace {

uint32_t Word(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

class EnumerationTest : public ChannelTest {
protected:
    void LaunchThree() {
        test_support::PrepareStation(1, true);
        test_support::PrepareStation(3, true);
        test_support::PrepareStation(6, true);
        ASSERT_EQ(DriverChannel::LaunchStation("Front Desk", "alice", 0), 0);
        ASSERT_EQ(DriverChannel::LaunchStation("Lab", "bob", 2), 0);
        ASSERT_EQ(DriverChannel::LaunchStation("Kiosk", "carol", 5), 0);
    }
};

TEST_F(EnumerationTest, LaunchedStationsComeInOrderWithTheirPositionsPassedBack) {
    LaunchThree();
    LaunchRecord records[8];
    ASSERT_EQ(DriverChannel::ReadLaunches(records, 8), 3u);
    EXPECT_STREQ(records[0].stationName, "Front Desk");
    EXPECT_STREQ(records[1].userName, "bob");
    EXPECT_EQ(records[2].stationIndex, 5);

    // First, then a next-request per answer carrying the previous index, and
    // the failed one that ends the list.
    auto requests = Requests();
    ASSERT_EQ(requests.size(), 7u);  // three launches, then four reads
    EXPECT_EQ(requests[3].code, 0x220803u);
    EXPECT_EQ(requests[4].code, 0x220804u);
    EXPECT_EQ(Word(requests[4].input, 64), 0u);
    EXPECT_EQ(Word(requests[5].input, 64), 2u);
    EXPECT_EQ(Word(requests[6].input, 64), 5u);
}

TEST_F(EnumerationTest, ArraysStopAtTheirCapacityWithoutAnotherRequest) {
    for (int i = 0; i < 40; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "S%d", i);
        ASSERT_TRUE(driver_.AddLaunch(name, "u", 100 + i));
    }
    LaunchRecord records[32];
    EXPECT_EQ(DriverChannel::ReadLaunches(records, 32), 32u);
    EXPECT_EQ(records[31].stationIndex, 131);
    EXPECT_EQ(Requests().size(), 32u);
}

TEST_F(EnumerationTest, TasksAndProgramsContinueFromTheirKeysAndPositions) {
    LaunchThree();
    ASSERT_TRUE(driver_.StartProgram(2, "report", "\"C:\\Program Files\\Tool\\run.exe\" /s"));
    TaskRecord tasks[64];
    size_t taskCount = DriverChannel::ReadTasks(tasks, 64);
    ASSERT_GE(taskCount, 4u);  // every launched station has tasks, plus ours
    for (size_t i = 1; i < taskCount; ++i) EXPECT_GT(tasks[i].taskKey, tasks[i - 1].taskKey);

    ProgramRecord programs[64];
    size_t programCount = DriverChannel::ReadPrograms(programs, 64);
    ASSERT_GE(programCount, 4u);
    bool found = false;
    for (size_t i = 0; i < programCount; ++i) {
        found = found || std::string(programs[i].commandText) == "\"C:\\Program Files\\Tool\\run.exe\" /s";
    }
    EXPECT_TRUE(found);

    // Next-request n carries the position of answer n; the last one fails
    // and ends the list.
    std::vector<uint32_t> carried, answered;
    for (const auto& request : Requests()) {
        if (request.code == 0x220809u) carried.push_back(Word(request.input, 60));
    }
    for (size_t i = 0; i < programCount; ++i) answered.push_back(programs[i].position);
    EXPECT_EQ(carried, answered);
}

TEST_F(EnumerationTest, ProgramArrayStopsAtCapacity) {
    LaunchThree();
    ProgramRecord programs[2];
    EXPECT_EQ(DriverChannel::ReadPrograms(programs, 2), 2u);
    TaskRecord tasks[1];
    EXPECT_EQ(DriverChannel::ReadTasks(tasks, 1), 1u);
}

TEST_F(EnumerationTest, StationIsFoundByItsIndexAndStopsWithTheRecordAsFound) {
    LaunchThree();
    LaunchRecord record;
    ASSERT_TRUE(DriverChannel::FindLaunchedStation(2, "LAB", record));
    EXPECT_EQ(record.stationIndex, 2);
    EXPECT_TRUE(DriverChannel::StopStation(record));
    EXPECT_FALSE(test_support::UserHiveLoaded("bob"));
    EXPECT_FALSE(DriverChannel::FindLaunchedStation(2, "Lab", record));
    EXPECT_FALSE(DriverChannel::FindLaunchedStation(3, "Kiosk", record)) << "not launched at that index";
    // Renamed since its launch, the station is still its own record.
    ASSERT_TRUE(DriverChannel::FindLaunchedStation(5, "Kiosk Renamed", record));
    EXPECT_STREQ(record.stationName, "Kiosk");
}

// A search on a driver that hands the same record back (a short or zero
// byte count copies nothing of a buffered answer) must end, and count as a
// failed request.
TEST_F(EnumerationTest, SearchesEndWhenTheDriverHandsTheSameRecordBack) {
    LaunchThree();
    for (uint32_t mode : {COREHUB_REPLY_ZERO, COREHUB_REPLY_SHORT}) {
        for (uint32_t code : {0x220804u, 0x22080Bu}) {
            ASSERT_TRUE(driver_.SetReplyMode(code, mode));
            bool found = true;
            {
                // A search that hangs would keep the test from ending at all.
                test_support::Watchdog watchdog(
                    10000, "the search of " + std::to_string(code) + " with reply mode " + std::to_string(mode));
                LaunchRecord record;
                DeviceBlock block;
                found = code == 0x220804u ? DriverChannel::FindLaunchedStation(5, "Kiosk", record)
                                          : DriverChannel::FindLoadedDevice(0x1234, block);
            }
            EXPECT_FALSE(found) << std::hex << code << " mode " << mode;
        }
    }
}

TEST_F(EnumerationTest, DevicesAreFoundByIdWithTheirVersions) {
    DeviceBlock block;
    ASSERT_TRUE(DriverChannel::FindLoadedDevice(0x3AE5, block));
    EXPECT_EQ(block.majorVersion, 4);
    EXPECT_EQ(block.minorVersion, 0);
    ASSERT_TRUE(DriverChannel::FindLoadedDevice(0x011F, block));

    ASSERT_TRUE(driver_.SetDevicePresent(0x3AE5, false));
    EXPECT_FALSE(DriverChannel::FindLoadedDevice(0x3AE5, block));
    EXPECT_TRUE(DriverChannel::FindLoadedDevice(0x000D, block));
    EXPECT_FALSE(DriverChannel::FindLoadedDevice(0x1234, block));
}

}  // namespace
