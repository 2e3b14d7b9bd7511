#include <gtest/gtest.h>

#include <memory>

#include "registry_backup.h"
#include "registry_helpers.h"
#include "run_command.h"

using namespace stationctl;

namespace {
const std::string kSetup = "Software\\Quillon\\Orvanta\\Setup";
}

class RegistryCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        snapshot_ = std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE, kSetup);
        for (const char* key : {"\\Board2", "\\Board4", "\\Station3", "\\Station8"})
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kSetup + key).c_str());
    }
    void TearDown() override { snapshot_.reset(); }

private:
    std::unique_ptr<test_support::RegistryBackup> snapshot_;
};

TEST_F(RegistryCommandTest, BoardWritesNameAsStringAndDetectedAsOneByte) {
    CommandRun run = RunCommand({"board", "2", "--name", "PBX-4 Station Adapter", "--detected", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kSetup + "\\Board2", "Board Name"), "PBX-4 Station Adapter");
    auto detected = ReadRaw(HKEY_LOCAL_MACHINE, kSetup + "\\Board2", "Detected");
    ASSERT_TRUE(detected);
    EXPECT_EQ(detected->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(detected->bytes, std::vector<uint8_t>{1});
}

TEST_F(RegistryCommandTest, BoardWritesOnlyWhatIsGiven) {
    ASSERT_EQ(RunCommand({"board", "4", "--name", "KX4"}).exitCode, 0);
    ASSERT_EQ(RunCommand({"board", "4", "--detected", "0"}).exitCode, 0);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kSetup + "\\Board4", "Board Name"), "KX4");
    EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, kSetup + "\\Board4", "Detected")->bytes, std::vector<uint8_t>{0});
    CommandRun shown = RunCommand({"board", "4"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out, "Board Name: KX4\nDetected: 0\n");
}

TEST_F(RegistryCommandTest, ShowingABoardWithoutAKeyFailsAndCreatesNone) {
    CommandRun run = RunCommand({"board", "2"});
    EXPECT_EQ(run.exitCode, kExitFailed);
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSetup + "\\Board2"));
}

TEST_F(RegistryCommandTest, StationWritesTheHardwareResults) {
    CommandRun run = RunCommand({"station", "8", "--detected", "1", "--base-init", "1", "--keyboard-init", "0",
                                 "--mouse-init", "1", "--io-handle", "0xDEAD0340"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string key = kSetup + "\\Station8";
    const std::pair<const char*, uint8_t> bytes[] = {
        {"Detected", 1}, {"Zq Base Init", 1}, {"Zq Keyboard Init", 0}, {"Zq Mouse Init", 1}};
    for (const auto& [name, expected] : bytes) {
        auto value = ReadRaw(HKEY_LOCAL_MACHINE, key, name);
        ASSERT_TRUE(value) << name;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_BINARY)) << name;
        EXPECT_EQ(value->bytes, std::vector<uint8_t>{expected}) << name;
    }
    auto handle = ReadRaw(HKEY_LOCAL_MACHINE, key, "IO Handle");
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(handle->bytes, (std::vector<uint8_t>{0x40, 0x03, 0xAD, 0xDE}));

    CommandRun shown = RunCommand({"station", "8"});
    EXPECT_EQ(shown.out,
              "Detected: 1\nZq Base Init: 1\nZq Keyboard Init: 0\nZq Mouse Init: 1\nIO Handle: 0xDEAD0340\n");
}

TEST_F(RegistryCommandTest, LeavesOtherValuesOfTheKeyAlone) {
    WriteText(HKEY_LOCAL_MACHINE, kSetup + "\\Station3", "Station Name", "Children's Corner");
    ASSERT_EQ(RunCommand({"station", "3", "--detected", "1"}).exitCode, 0);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kSetup + "\\Station3", "Station Name"), "Children's Corner");
}

TEST_F(RegistryCommandTest, BadArgumentsWriteNothing) {
    const std::vector<std::vector<std::string>> bad = {
        {"board", "5", "--detected", "1"},
        {"board", "0", "--detected", "1"},
        {"board", "--detected", "1"},
        {"board", "2", "--detected", "2"},
        {"board", "2", "--name"},
        {"board", "2", "--detected", "1", "--colour", "red"},
        {"station", "9", "--detected", "1"},
        {"station", "3", "--detected", "1", "--io-handle", "100000000"},
        {"station", "3", "--io-handle", "0x34Z"},
        {"station", "3", "--mouse-init", "on"},
        {"station", "3", "4", "--detected", "1"},
    };
    for (const auto& args : bad) {
        CommandRun run = RunCommand(args);
        EXPECT_EQ(run.exitCode, kExitBadArguments) << args[1] << " " << args.back();
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSetup + "\\Board2"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSetup + "\\Station3"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSetup + "\\Station9"));
}
