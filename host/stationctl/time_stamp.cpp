#include "time_stamp.h"

#include <cstdio>

namespace stationctl {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1 March of year 0 of the proleptic Gregorian calendar; shifting
// the year to start in March puts the leap day at its end.
int64_t DayNumber(int year, int month, int day) {
    int64_t y = month <= 2 ? year - 1 : year;
    int64_t era = y / 400;
    int64_t yearOfEra = y - era * 400;
    int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
    int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

}  // namespace

std::optional<uint32_t> DaysSince1980(int year, int month, int day) {
    if (year < 1980 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    return static_cast<uint32_t>(DayNumber(year, month, day) - DayNumber(1980, 1, 1));
}

std::string FormatTimeStamp(uint32_t days, uint32_t milliseconds) {
    char text[17];
    std::snprintf(text, sizeof text, "%08X%08X", static_cast<unsigned>(days), static_cast<unsigned>(milliseconds));
    return text;
}

std::optional<std::string> TimeStampOf(const SYSTEMTIME& localTime) {
    auto days = DaysSince1980(localTime.wYear, localTime.wMonth, localTime.wDay);
    if (!days || localTime.wHour > 23 || localTime.wMinute > 59 || localTime.wSecond > 59 ||
        localTime.wMilliseconds > 999)
        return std::nullopt;
    uint32_t milliseconds =
        ((localTime.wHour * 60u + localTime.wMinute) * 60u + localTime.wSecond) * 1000u + localTime.wMilliseconds;
    return FormatTimeStamp(*days, milliseconds);
}

std::optional<std::string> CurrentTimeStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TimeStampOf(now);
}

bool IsTimeStamp(std::string_view text) {
    if (text.size() != 16) return false;
    for (char c : text) {
        bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) return false;
    }
    return true;
}

}  // namespace stationctl
