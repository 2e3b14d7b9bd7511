#include "message_store.h"

#include <gtest/gtest.h>

#include <memory>

#include "registry_backup.h"
#include "registry_helpers.h"
#include "run_command.h"
#include "time_stamp.h"

using namespace stationctl;

namespace {
const std::string kStore = "Software\\Quillon\\Orvanta\\Setup\\BlueScreenMessage";
}

TEST(ChooseFreeSlot, TakesTheFirstLetterWithoutAMessage) {
    std::array<bool, kSlotCount> occupied = {};
    EXPECT_EQ(ChooseFreeSlot(occupied), 'a');
    occupied[0] = occupied[2] = true;
    EXPECT_EQ(ChooseFreeSlot(occupied), 'b');
    occupied[1] = true;
    EXPECT_EQ(ChooseFreeSlot(occupied), 'd');
}

TEST(ChooseFreeSlot, OnlyZLeftAndNoneLeft) {
    std::array<bool, kSlotCount> occupied;
    occupied.fill(true);
    EXPECT_FALSE(ChooseFreeSlot(occupied));
    occupied[25] = false;
    EXPECT_EQ(ChooseFreeSlot(occupied), 'z');
}

class MessageCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        snapshot_ = std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE, kStore);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kStore.c_str());
    }
    void TearDown() override { snapshot_.reset(); }

    static std::optional<std::string> Text(char slot, const char* field) {
        return ReadText(HKEY_LOCAL_MACHINE, kStore, SlotValueName(slot, field));
    }

private:
    std::unique_ptr<test_support::RegistryBackup> snapshot_;
};

TEST_F(MessageCommandTest, WritesEveryFieldOfTheFirstSlotWithDefaults) {
    CommandRun run = RunCommand({"message", "--station", "Front Desk", "--text", "Disk full"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "a\n");
    EXPECT_EQ(Text('a', "Message"), "Disk full");
    EXPECT_EQ(Text('a', "Station"), "Front Desk");
    EXPECT_EQ(Text('a', "Caption"), "Station Message");
    EXPECT_EQ(Text('a', "User"), "(none)");
    EXPECT_EQ(Text('a', "Type"), "BlueScreen");
    auto seen = ReadRaw(HKEY_LOCAL_MACHINE, kStore, "aSeenByFrontEnd");
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(seen->bytes, std::vector<uint8_t>{0});
    auto stamp = Text('a', "TimeStamp");
    ASSERT_TRUE(stamp);
    EXPECT_TRUE(IsTimeStamp(*stamp)) << *stamp;
}

TEST_F(MessageCommandTest, TakesEveryFieldFromTheCommandLine) {
    CommandRun run =
        RunCommand({"message", "--station=Reading Room", "--text", "Line one\\nLine two", "--slot", "Q", "--caption",
                    "Printer", "--user", "reader", "--type", "Warning", "--time", "000000000036EE80", "--seen", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "q\n");
    EXPECT_EQ(Text('q', "Message"), "Line one\nLine two");
    EXPECT_EQ(Text('q', "Caption"), "Printer");
    EXPECT_EQ(Text('q', "User"), "reader");
    EXPECT_EQ(Text('q', "Type"), "Warning");
    EXPECT_EQ(Text('q', "TimeStamp"), "000000000036EE80");
    EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, kStore, "qSeenByFrontEnd")->bytes, std::vector<uint8_t>{1});
    EXPECT_FALSE(Text('a', "Message"));
}

TEST_F(MessageCommandTest, FillsTheGapsInLetterOrder) {
    WriteText(HKEY_LOCAL_MACHINE, kStore, "aMessage", "first");
    WriteText(HKEY_LOCAL_MACHINE, kStore, "cMessage", "third");
    // Other values of a slot do not make it taken: only its message does.
    WriteText(HKEY_LOCAL_MACHINE, kStore, "bCaption", "left over");
    EXPECT_EQ(RunCommand({"message", "--station", "s", "--text", "t"}).out, "b\n");
    EXPECT_EQ(RunCommand({"message", "--station", "s", "--text", "t"}).out, "d\n");
    EXPECT_EQ(Text('a', "Message"), "first");
    EXPECT_EQ(Text('c', "Message"), "third");
    EXPECT_EQ(Text('b', "Caption"), "Station Message");
}

TEST_F(MessageCommandTest, RefusesAFullStoreAndChangesNothing) {
    for (char slot = 'a'; slot <= 'z'; ++slot)
        WriteText(HKEY_LOCAL_MACHINE, kStore, SlotValueName(slot, "Message"), std::string("m") + slot);
    CommandRun run = RunCommand({"message", "--station", "s", "--text", "one too many"});
    EXPECT_EQ(run.exitCode, kExitFailed);
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find("full"), std::string::npos);
    EXPECT_EQ(Text('a', "Message"), "ma");
    EXPECT_FALSE(Text('a', "Station"));

    // Naming a slot replaces it even then.
    ASSERT_EQ(RunCommand({"message", "--station", "s", "--text", "replaced", "--slot", "m"}).exitCode, 0);
    EXPECT_EQ(Text('m', "Message"), "replaced");
}

TEST_F(MessageCommandTest, ReplacingASlotOverwritesAllItsFields) {
    ASSERT_EQ(RunCommand({"message", "--station", "old", "--text", "old", "--user", "olduser", "--seen", "1"}).exitCode,
              0);
    ASSERT_EQ(RunCommand({"message", "--station", "new", "--text", "new", "--slot", "a"}).exitCode, 0);
    EXPECT_EQ(Text('a', "Station"), "new");
    EXPECT_EQ(Text('a', "User"), "(none)");
    EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, kStore, "aSeenByFrontEnd")->bytes, std::vector<uint8_t>{0});
}

TEST_F(MessageCommandTest, TextUpTo511BytesGoesInLongerIsRefused) {
    ASSERT_EQ(RunCommand({"message", "--station", "s", "--text", std::string(511, 'x')}).exitCode, 0);
    EXPECT_EQ(Text('a', "Message")->size(), 511u);
    CommandRun run = RunCommand({"message", "--station", "s", "--text", std::string(512, 'x')});
    EXPECT_EQ(run.exitCode, kExitBadArguments);
    EXPECT_FALSE(Text('b', "Message"));
    // The limit is on what is stored, after "\n" became one character.
    std::string escaped(509, 'x');
    escaped += "\\n\\n";
    EXPECT_EQ(RunCommand({"message", "--station", "s", "--text", escaped}).exitCode, 0);
    EXPECT_EQ(RunCommand({"message", "--station", "s", "--text", "t", "--caption", std::string(600, 'c')}).exitCode,
              kExitBadArguments);
}

TEST_F(MessageCommandTest, RefusesBadValuesBeforeWritingAnything) {
    const std::vector<std::vector<std::string>> bad = {
        {"message", "--text", "no station"},
        {"message", "--station", "no text"},
        {"message", "--station", "s", "--text", "t", "--slot", "1"},
        {"message", "--station", "s", "--text", "t", "--slot", "ab"},
        {"message", "--station", "s", "--text", "t", "--time", "00000000036EE80"},
        {"message", "--station", "s", "--text", "t", "--time", "000000000036EE8G"},
        {"message", "--station", "s", "--text", "t", "--seen", "yes"},
        {"message", "--station", "s", "--text", "t", "extra"},
    };
    for (const auto& args : bad) {
        CommandRun run = RunCommand(args);
        EXPECT_EQ(run.exitCode, kExitBadArguments) << args.back();
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStore));
}
