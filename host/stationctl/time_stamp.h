// The message store's time stamp: 16 hexadecimal digits, the first eight the
// days since 1 January 1980, the last eight the milliseconds since local
// midnight of that day.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace stationctl {

// Days from 1 January 1980 to the given date of the Gregorian calendar;
// nothing for an impossible date or one before 1980.
std::optional<uint32_t> DaysSince1980(int year, int month, int day);

// Upper-case, zero-padded: days then milliseconds, eight digits each.
std::string FormatTimeStamp(uint32_t days, uint32_t milliseconds);

// The stamp of a local time; nothing when the time cannot be expressed.
std::optional<std::string> TimeStampOf(const SYSTEMTIME& localTime);

// The stamp of this moment, by the local clock.
std::optional<std::string> CurrentTimeStamp();

// Exactly sixteen hexadecimal digits, of either case.
bool IsTimeStamp(std::string_view text);

}  // namespace stationctl
