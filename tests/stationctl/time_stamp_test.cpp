#include "time_stamp.h"

#include <gtest/gtest.h>

using namespace stationctl;

namespace {

SYSTEMTIME Time(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wMilliseconds = static_cast<WORD>(millisecond);
    return time;
}

}  // namespace

TEST(TimeStamp, SecondOfJanuary1980AtMidnight) {
    EXPECT_EQ(TimeStampOf(Time(1980, 1, 2, 0, 0, 0, 0)), "0000000100000000");
}

TEST(TimeStamp, OneOClockOnTheFirstDay) {
    EXPECT_EQ(TimeStampOf(Time(1980, 1, 1, 1, 0, 0, 0)), "000000000036EE80");
}

TEST(TimeStamp, LastMillisecondOfADayIsUpperCaseAndPadded) {
    EXPECT_EQ(TimeStampOf(Time(1980, 1, 1, 23, 59, 59, 999)), "0000000005265BFF");
}

TEST(TimeStamp, CountsLeapDays) {
    EXPECT_EQ(DaysSince1980(1980, 3, 1), 60u);  // 1980 has a 29 February
    EXPECT_EQ(DaysSince1980(1981, 1, 1), 366u);
    EXPECT_EQ(DaysSince1980(2000, 3, 1), 7365u);  // 2000 is a leap year, as a multiple of 400
    EXPECT_EQ(DaysSince1980(2024, 12, 7), 16412u);
}

TEST(TimeStamp, RefusesImpossibleDatesAndDatesBefore1980) {
    EXPECT_FALSE(DaysSince1980(1979, 12, 31));
    EXPECT_FALSE(DaysSince1980(1981, 2, 29));
    EXPECT_FALSE(DaysSince1980(2100, 2, 29));  // not a leap year, as a century
    EXPECT_FALSE(DaysSince1980(2024, 13, 1));
    EXPECT_FALSE(DaysSince1980(2024, 4, 31));
    EXPECT_FALSE(DaysSince1980(2024, 1, 0));
    EXPECT_FALSE(TimeStampOf(Time(2024, 1, 1, 24, 0, 0, 0)));
}

TEST(TimeStamp, CurrentStampIsTodayByTheLocalClock) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    auto stamp = CurrentTimeStamp();
    ASSERT_TRUE(stamp);
    ASSERT_TRUE(IsTimeStamp(*stamp));
    uint32_t days = static_cast<uint32_t>(std::stoul(stamp->substr(0, 8), nullptr, 16));
    uint32_t milliseconds = static_cast<uint32_t>(std::stoul(stamp->substr(8), nullptr, 16));
    auto today = DaysSince1980(before.wYear, before.wMonth, before.wDay);
    ASSERT_TRUE(today);
    // Midnight may pass between the two readings.
    EXPECT_TRUE(days == *today || days == *today + 1);
    EXPECT_LT(milliseconds, 86400000u);
    EXPECT_EQ(stamp->find_first_of("abcdef"), std::string::npos) << "upper-case digits";
}

TEST(IsTimeStamp, WantsExactlySixteenHexDigits) {
    EXPECT_TRUE(IsTimeStamp("000000000036EE80"));
    EXPECT_TRUE(IsTimeStamp("000000000036ee80"));
    EXPECT_FALSE(IsTimeStamp("00000000036EE80"));
    EXPECT_FALSE(IsTimeStamp("0000000000036EE80"));
    EXPECT_FALSE(IsTimeStamp("000000000036EG80"));
    EXPECT_FALSE(IsTimeStamp("0x0000000036EE80"));
}
