#include "channel_fixture.h"

#include <memory>

#include "application_device.h"
#include "registry_backup.h"

HANDLE applicationDevice = INVALID_HANDLE_VALUE;

HANDLE ApplicationDeviceHandle() {
    return applicationDevice;
}

HANDLE ChannelTest::device_ = INVALID_HANDLE_VALUE;

namespace {
const char* const kTestUsers[] = {"alice", "bob", "carol", "reception", "reader"};
// The station keys of the host, put back after the suite.
std::unique_ptr<test_support::RegistryBackup> stationKeys;
}  // namespace

void ChannelTest::SetUpTestSuite() {
    stationKeys =
        std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta\\Setup");
    // Opened as the control center opens it: no access rights, no sharing.
    device_ = CreateFileA("\\\\.\\Corehub", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void ChannelTest::TearDownTestSuite() {
    if (device_ != INVALID_HANDLE_VALUE) CloseHandle(device_);
    device_ = INVALID_HANDLE_VALUE;
    stationKeys.reset();
}

void ChannelTest::SetUp() {
    ASSERT_NE(device_, INVALID_HANDLE_VALUE) << "the stand-in driver is not running";
    ASSERT_TRUE(driver_.IsOpen());
    ASSERT_TRUE(driver_.Reset());
    for (int number = 1; number <= 8; ++number) test_support::RemoveStation(number);
    applicationDevice = device_;
    DriverChannel::ForgetKeptHandle();
}

void ChannelTest::TearDown() {
    driver_.Reset();
    for (int number = 1; number <= 8; ++number) test_support::RemoveStation(number);
    for (const char* user : kTestUsers) RegDeleteTreeA(HKEY_USERS, user);
}
