// The configuration model against the test host's registry: the product's
// branch and the port registrations are kept across the suite and emptied
// before each test; the resource library provides the texts.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config_fixture.h"
#include "corehub_client.h"
#include "registry_backup.h"
#include "seams.h"
#include "system_config.h"
#include "test_clock.h"

// What the model showed through the application's message box: messages
// by their string, and texts made up on the spot, with their style.
extern std::vector<UINT> shownMessages;
struct ShownText {
    std::string text;
    UINT style;
};
extern std::vector<ShownText> shownTexts;
// Messages shown owned by a window of their own, with their style.
struct OwnedMessage {
    UINT stringId;
    UINT style;
    HWND owner;
};
extern std::vector<OwnedMessage> ownedMessages;
// How the message box for a made-up text is answered (IDOK unless a test
// says otherwise).
extern int shownTextAnswer;

using test_support::KeyExists;

class ModelTest : public config_test::ConfigSuite {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Writes values into a board or station key (creating it).
    static void PutByte(const std::string& key, const char* name, BYTE value);
    static void PutString(const std::string& key, const char* name, const std::string& value);
    static std::string StationKey(int number) { return std::string(kSetupKey) + "\\Station" + std::to_string(number); }
    static std::string BoardKey(int number) { return std::string(kSetupKey) + "\\Board" + std::to_string(number); }
    // A value as stored: its type and bytes; type 0 when it is missing.
    static DWORD Stored(const std::string& key, const char* name, std::string* bytes = nullptr);

private:
    static std::vector<std::unique_ptr<test_support::RegistryBackup>> kept_;
};

// The model with the stand-in driver, whose request log is emptied before
// and after each test, and a clock that does not wait; the framework's seams
// are given back afterwards.
class DriverModelTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        ASSERT_TRUE(driver_.IsOpen()) << "the stand-in driver is not running";
        driver_.Reset();
        previousClock_ = AfxSetClock(&clock_);
    }
    void TearDown() override {
        AfxSetClock(previousClock_);
        AfxSetModalOperator(nullptr);
        driver_.Reset();
    }

    test_support::CorehubClient driver_;
    test_support::TestClock clock_;

private:
    Clock* previousClock_ = nullptr;
};
