#include "arguments.h"

#include <gtest/gtest.h>

using namespace stationctl;

TEST(ParseCommandLine, TakesValuesAfterASpaceOrAnEqualsSign) {
    CommandLine parsed;
    ASSERT_TRUE(
        ParseCommandLine({"3", "--name", "KX4 Adapter", "--detected=1"}, {"--name", "--detected"}, parsed).ok());
    EXPECT_EQ(parsed.positional, std::vector<std::string>{"3"});
    EXPECT_EQ(*parsed.Find("--name"), "KX4 Adapter");
    EXPECT_EQ(*parsed.Find("--detected"), "1");
}

TEST(ParseCommandLine, RefusesAnUnknownOptionByName) {
    CommandLine parsed;
    Outcome outcome = ParseCommandLine({"1", "--detcted", "1"}, {"--detected"}, parsed);
    EXPECT_EQ(outcome.exitCode, kExitBadArguments);
    EXPECT_NE(outcome.message.find("--detcted"), std::string::npos);
}

TEST(ParseCommandLine, RefusesAnOptionWithoutItsValue) {
    CommandLine parsed;
    Outcome outcome = ParseCommandLine({"1", "--name"}, {"--name"}, parsed);
    EXPECT_EQ(outcome.exitCode, kExitBadArguments);
    EXPECT_NE(outcome.message.find("needs a value"), std::string::npos);
}

TEST(ParseCommandLine, RefusesAnOptionGivenTwice) {
    CommandLine parsed;
    EXPECT_EQ(ParseCommandLine({"--name", "a", "--name=b"}, {"--name"}, parsed).exitCode, kExitBadArguments);
}

TEST(ParseCommandLine, EverythingAfterTheDoubleDashIsPositional) {
    CommandLine parsed;
    ASSERT_TRUE(ParseCommandLine({"--task", "t", "--", "1", "--task", "-"}, {"--task"}, parsed).ok());
    EXPECT_EQ(parsed.positional, (std::vector<std::string>{"1", "--task", "-"}));
    EXPECT_EQ(*parsed.Find("--task"), "t");
}

TEST(ExpectPositionals, NamesTheFirstWordTooMany) {
    CommandLine parsed;
    parsed.positional = {"1", "2", "extra"};
    Outcome outcome = ExpectPositionals(parsed, 1, 2, "device");
    EXPECT_EQ(outcome.exitCode, kExitBadArguments);
    EXPECT_NE(outcome.message.find("'extra'"), std::string::npos);
    EXPECT_EQ(ExpectPositionals(parsed, 4, 5, "device").exitCode, kExitBadArguments);
    EXPECT_TRUE(ExpectPositionals(parsed, 3, 3, "device").ok());
}

TEST(ParseDecimalInRange, RefusesSignsSpacesAndNumbersTooLongToHold) {
    EXPECT_FALSE(ParseDecimalInRange("+1", 1, 8));
    EXPECT_FALSE(ParseDecimalInRange("-1", -5, 8));
    EXPECT_FALSE(ParseDecimalInRange("1 ", 1, 8));
    EXPECT_FALSE(ParseDecimalInRange("", 1, 8));
    // Would wrap around to a small number in 32 bits.
    EXPECT_FALSE(ParseDecimalInRange("4294967297", 1, 8));
    EXPECT_FALSE(ParseDecimalInRange("99999999999999999999", 1, 8));
}

TEST(ParseHex32, TakesHexWithOrWithoutPrefix) {
    EXPECT_EQ(ParseHex32("0x340"), 0x340u);
    EXPECT_EQ(ParseHex32("340"), 0x340u);
    EXPECT_EQ(ParseHex32("0XfFfFfFfF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHex32("0000000000340"), 0x340u);
}

TEST(ParseHex32, RefusesWhatDoesNotFitOrIsNotHex) {
    EXPECT_FALSE(ParseHex32("100000000"));
    EXPECT_FALSE(ParseHex32("0x"));
    EXPECT_FALSE(ParseHex32(""));
    EXPECT_FALSE(ParseHex32("34g"));
    EXPECT_FALSE(ParseHex32("-1"));
}

TEST(ParseNumber, ReadsHexWithPrefixAndDecimalWithout) {
    EXPECT_EQ(ParseNumber("0x3AE3", 0xFFFF), 0x3AE3u);
    EXPECT_EQ(ParseNumber("15075", 0xFFFF), 0x3AE3u);
    // Without a prefix digits are decimal, even when they look like hex.
    EXPECT_EQ(ParseNumber("10", 0xFFFF), 10u);
    EXPECT_FALSE(ParseNumber("3AE3", 0xFFFF));
}

TEST(ParseNumber, RefusesValuesAboveTheLimit) {
    EXPECT_EQ(ParseNumber("65535", 0xFFFF), 0xFFFFu);
    EXPECT_FALSE(ParseNumber("65536", 0xFFFF));
    EXPECT_FALSE(ParseNumber("0x10000", 0xFFFF));
    EXPECT_FALSE(ParseNumber("0x100000000", 0xFFFFFFFF));
}

TEST(ParseFlagAndSwitch, AcceptOnlyTheirTwoWords) {
    EXPECT_EQ(ParseFlag("0"), false);
    EXPECT_EQ(ParseFlag("1"), true);
    EXPECT_FALSE(ParseFlag("2"));
    EXPECT_FALSE(ParseFlag("01"));
    EXPECT_FALSE(ParseFlag("true"));
    EXPECT_EQ(ParseSwitch("on"), true);
    EXPECT_EQ(ParseSwitch("OFF"), false);
    EXPECT_FALSE(ParseSwitch("1"));
    EXPECT_FALSE(ParseSwitch("onn"));
}

TEST(ParseSlotLetter, GivesTheLowerCaseLetter) {
    EXPECT_EQ(ParseSlotLetter("a"), 'a');
    EXPECT_EQ(ParseSlotLetter("Z"), 'z');
    EXPECT_FALSE(ParseSlotLetter("ab"));
    EXPECT_FALSE(ParseSlotLetter(""));
    EXPECT_FALSE(ParseSlotLetter("{"));
    EXPECT_FALSE(ParseSlotLetter("`"));
    EXPECT_FALSE(ParseSlotLetter("1"));
}
