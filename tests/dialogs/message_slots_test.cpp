// A message slot's time stamp, its text as the pane shows it, and the order
// of two slots.
#include <gtest/gtest.h>
#include <windows.h>

#include "message_slots.h"

namespace {

std::string Expected(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    char date[128] = {}, clock[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE | DATE_SHORTDATE, &time, nullptr, date, sizeof date);
    if (hour == 0 && minute == 0 && second == 0) return date;
    GetTimeFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, &time, nullptr, clock, sizeof clock);
    return std::string(date) + " " + clock;
}

MessageSlot Stamped(const std::string& timeStamp) {
    MessageSlot slot;
    slot.timeStamp = timeStamp;
    EXPECT_TRUE(ParseTimeStamp(slot));
    return slot;
}

TEST(MessageTime, CountsDaysFrom1980AndMillisecondsFromMidnight) {
    MessageSlot nextDay = Stamped("0000000100000000");
    EXPECT_EQ(nextDay.day, 1);
    EXPECT_EQ(TimeText(nextDay.day, nextDay.millisecond), Expected(1980, 1, 2)) << "midnight shows the date alone";
    MessageSlot oneOClock = Stamped("000000000036ee80");
    EXPECT_EQ(oneOClock.millisecond, 3'600'000);
    EXPECT_EQ(TimeText(oneOClock.day, oneOClock.millisecond), Expected(1980, 1, 1, 1));
    // 26 Nov 2026 (17 131 days on) at 13:45:30.999: the part below a second
    // is not shown.
    MessageSlot later = Stamped("000042EB02F3C877");
    EXPECT_EQ(TimeText(later.day, later.millisecond), Expected(2026, 11, 26, 13, 45, 30));
}

TEST(MessageTime, OnlySixteenCharactersCarryATime) {
    for (const char* stamp : {"000000010000000", "00000001000000000", ""}) {
        MessageSlot slot;
        slot.day = 7;
        slot.timeStamp = stamp;
        EXPECT_FALSE(ParseTimeStamp(slot)) << stamp;
        EXPECT_EQ(slot.day, 7) << "kept as it was";
    }
    MessageSlot huge = Stamped("FFFFFFFF80000000");
    EXPECT_EQ(huge.day, INT32_MAX);
    EXPECT_EQ(huge.millisecond, INT32_MAX);
    EXPECT_EQ(TimeText(huge.day, huge.millisecond), "") << "beyond what the system can show";
    // 50 million days would overflow the system's tick count; nearly three
    // thousand years on still has a date.
    EXPECT_EQ(TimeText(0x03000000, 0), "");
    EXPECT_NE(TimeText(0x00100000, 0), "");
}

TEST(MessageText, LineFeedsAndTildesBreakLinesAndBackspacesGo) {
    EXPECT_EQ(MessageForDisplay("A\n\rB\nC~D\bE"), "A\r\nB\r\nC\r\nDE");
    EXPECT_EQ(MessageForDisplay("\r\nX\n"), "\r\r\nX\r\n") << "a carriage return before the line feed stays";
}

TEST(MessageOrder, ByColumnWithTiesByTime) {
    MessageSlot early = Stamped("0000000100000010"), late = Stamped("0000000100000020");
    EXPECT_LT(CompareMessageSlots(early, late, 1, false), 0) << "equal days go by milliseconds";
    EXPECT_GT(CompareMessageSlots(early, late, 1, true), 0);
    early.station = "front desk";
    late.station = "Front Desk";
    EXPECT_LT(CompareMessageSlots(early, late, 2, false), 0) << "equal names without regard to case go by time";
    late.station = "Archive";
    EXPECT_GT(CompareMessageSlots(early, late, 2, false), 0);
    late.seen = 1;
    EXPECT_LT(CompareMessageSlots(early, late, 0, false), 0) << "new before seen";
    // Days at both ends of the range still order correctly.
    MessageSlot first, last;
    first.day = INT32_MIN;
    last.day = INT32_MAX;
    EXPECT_LT(CompareMessageSlots(first, last, 1, false), 0);
}

}  // namespace
