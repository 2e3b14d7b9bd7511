// The stand-in driver's own rules: what it refuses, and that no buffer a
// caller hands it, too short or too long, breaks it.
#include <cstring>
#include <string>

#include "channel_fixture.h"

namespace {

class DriverRefusals : public ChannelTest {
protected:
    BOOL Raw(DWORD code, void* buffer, DWORD size, DWORD* returned = nullptr) {
        DWORD ignored = 0;
        return DeviceIoControl(device_, code, buffer, size, buffer, size, returned ? returned : &ignored, nullptr);
    }
    BOOL Launch(const char* name, int32_t index) {
        LaunchRecord record = {};
        std::strcpy(record.stationName, name);
        std::strcpy(record.userName, "alice");
        record.stationIndex = index;
        return Raw(0x220802, &record, sizeof record);
    }
};

TEST_F(DriverRefusals, LaunchNeedsADetectedStationNotYetLaunchedWithinRange) {
    test_support::PrepareStation(1, true);
    test_support::PrepareStation(2, false);
    EXPECT_FALSE(Launch("Eight", 8));
    EXPECT_FALSE(Launch("Minus", -1));
    EXPECT_FALSE(Launch("Undetected", 1));
    EXPECT_FALSE(Launch("Missing", 4));  // no key at all
    EXPECT_TRUE(Launch("First", 0));
    EXPECT_FALSE(Launch("First again", 0));
    EXPECT_EQ(driver_.Status().launchCount, 1u);
    // Refused or not, every request is in the log.
    EXPECT_EQ(Requests().size(), 6u);
}

TEST_F(DriverRefusals, StopOfAStationThatIsNotLaunchedFails) {
    LaunchRecord record = {};
    std::strcpy(record.stationName, "Ghost");
    EXPECT_FALSE(Raw(0x22080C, &record, sizeof record));
}

TEST_F(DriverRefusals, ShortBuffersFailAndLongOnesAreServedWithinTheRecord) {
    // One code of each transfer method, and each record size.
    const DWORD codes[] = {0x220802, 0x220803, 0x220804, 0x220806, 0x220807, 0x220808, 0x220809,
                           0x22080A, 0x22080B, 0x22080C, 0x22080D, 0x22080E, 0x220810};
    std::vector<uint8_t> buffer(4096, 0xAB);
    for (DWORD code : codes) {
        std::fill(buffer.begin(), buffer.end(), 0);
        EXPECT_FALSE(Raw(code, buffer.data(), 1)) << std::hex << code;
    }
    std::fill(buffer.begin(), buffer.end(), 0xAB);
    DWORD returned = 0;
    std::memset(buffer.data(), 0, sizeof(DeviceBlock));
    ASSERT_TRUE(Raw(0x22080A, buffer.data(), 4096, &returned));
    EXPECT_EQ(returned, sizeof(DeviceBlock));
    DeviceBlock block;
    std::memcpy(&block, buffer.data(), sizeof block);
    EXPECT_EQ(block.deviceId, 0x3AE3);
    EXPECT_EQ(buffer[sizeof(DeviceBlock)], 0xAB) << "the driver wrote beyond its record";
    // The driver still answers afterwards.
    EXPECT_EQ(DriverChannel::QueryPending(), 0u);
}

TEST_F(DriverRefusals, BentAnswersChangeOnlyTheCountOrTheBytesOfTheChosenCodeUntilReset) {
    DeviceBlock block = {};
    DWORD returned = 0;
    auto count = [&](DWORD code) {
        std::memset(&block, 0, sizeof block);
        returned = 0xFFFF;
        return Raw(code, &block, sizeof block, &returned) ? returned : 0xFFFFu;
    };
    ASSERT_TRUE(driver_.SetReplyMode(0x22080A, COREHUB_REPLY_SHORT));
    EXPECT_EQ(count(0x22080A), sizeof block / 2);
    EXPECT_EQ(count(0x22080B), sizeof block) << "another code";
    ASSERT_TRUE(driver_.SetReplyMode(0, COREHUB_REPLY_ZERO));
    EXPECT_EQ(count(0x22080B), 0u);
    // The count passes the record where only the count travels, never where
    // the system copies that many bytes out of its buffer.
    ASSERT_TRUE(driver_.SetReplyMode(0, COREHUB_REPLY_LONG));
    EXPECT_EQ(count(0x22080A), sizeof block + COREHUB_REPLY_LONG_EXTRA);
    ASSERT_TRUE(driver_.AddLaunch("Front Desk", "alice", 0));
    ASSERT_TRUE(driver_.AddLaunch("Lab", "bob", 2));
    LaunchRecord launch = {};
    ASSERT_TRUE(Raw(0x220804, &launch, sizeof launch, &returned));
    EXPECT_EQ(returned, sizeof launch) << "buffered";
    ASSERT_TRUE(driver_.SetReplyMode(0x22080A, COREHUB_REPLY_RANDOM, 7));
    count(0x22080A);
    DeviceBlock first = block;
    EXPECT_EQ(returned, sizeof block);
    EXPECT_NE(first.deviceId, 0x3AE3);
    ASSERT_TRUE(driver_.SetReplyMode(0x22080A, COREHUB_REPLY_RANDOM, 7));
    count(0x22080A);
    EXPECT_EQ(std::memcmp(&block, &first, sizeof block), 0) << "the same seed, the same bytes";
    ASSERT_TRUE(driver_.Reset());
    EXPECT_EQ(count(0x22080A), sizeof block);
    EXPECT_EQ(block.deviceId, 0x3AE3);
}

TEST_F(DriverRefusals, UnknownCodesAreInvalidRequests) {
    uint8_t buffer[64] = {};
    EXPECT_FALSE(Raw(0x220805, buffer, sizeof buffer));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    EXPECT_FALSE(Raw(0x22081B, buffer, sizeof buffer));
}

TEST_F(DriverRefusals, StationQueryAnswersWithAByteCountAtAStationOnly) {
    DWORD returned = 99;
    ASSERT_TRUE(DeviceIoControl(device_, 0x813, nullptr, 0, nullptr, 0, &returned, nullptr));
    EXPECT_EQ(returned, 0u);
    ASSERT_TRUE(driver_.SetAtStation(true));
    ASSERT_TRUE(DeviceIoControl(device_, 0x813, nullptr, 0, nullptr, 0, &returned, nullptr));
    EXPECT_NE(returned, 0u);
}

TEST_F(DriverRefusals, PortlaneTakesTheStationRequest) {
    HANDLE portlane = CreateFileA("\\\\.\\Portlane", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(portlane, INVALID_HANDLE_VALUE);
    uint8_t handle[4] = {0x20, 0x03, 0, 0};
    DWORD returned = 0;
    DeviceIoControl(portlane, 0x801, handle, sizeof handle, nullptr, 0, &returned, nullptr);
    CloseHandle(portlane);
    auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].device, 1u);
    EXPECT_EQ(requests[0].code, 0x801u);
}

}  // namespace
