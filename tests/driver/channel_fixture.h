// Runs the channel against the stand-in driver of the test host, with the
// driver's state and request log cleared before each test.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "corehub_client.h"
#include "driver_channel.h"

// What the application object would hand the channel.
extern HANDLE applicationDevice;

class ChannelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Requests logged since the test began, to either device.
    std::vector<test_support::LoggedRequest> Requests() { return driver_.Requests(); }

    static HANDLE device_;
    test_support::CorehubClient driver_;
};
