#include "message_slots.h"

#include <mbstring.h>

#include <cstdint>
#include <cstdlib>

#include "registry_key.h"
#include "system_config.h"

namespace {

int Sign(int64_t value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// Earlier first; the difference is taken wide so extreme stamps cannot turn
// the order round.
int CompareTimes(const MessageSlot& a, const MessageSlot& b) {
    int byDay = Sign(static_cast<int64_t>(a.day) - b.day);
    return byDay != 0 ? byDay : Sign(static_cast<int64_t>(a.millisecond) - b.millisecond);
}

int CompareTexts(const std::string& a, const std::string& b) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                    reinterpret_cast<const unsigned char*>(b.c_str()));
}

// Eight hexadecimal digits as a signed 32-bit number; larger values stop at
// the largest.
int32_t ParseHex(const std::string& digits) {
    long long value = std::strtoll(digits.c_str(), nullptr, 16);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

void ReadText(RegistryKey& store, const char* format, int slot, std::string& field) {
    store.QueryString(SlotValueName(format, slot).c_str(), field);
}

}  // namespace

std::string MessageStorePath() {
    return std::string(kSetupKey) + "\\BlueScreenMessage";
}

std::string SlotValueName(const char* format, int slot) {
    char name[64] = {};
    snprintf(name, sizeof name, format, 'a' + slot);
    return name;
}

bool ReadMessageSlot(RegistryKey& store, int slot, MessageSlot& record, const std::string& placeholder) {
    if (!store.QueryString(SlotValueName("%cMessage", slot).c_str(), record.message)) return false;
    ReadText(store, "%cCaption", slot, record.caption);
    if (record.caption.empty()) record.caption = placeholder;
    store.QueryByte(SlotValueName("%cSeenByFrontEnd", slot).c_str(), record.seen);
    ReadText(store, "%cStation", slot, record.station);
    if (record.station.empty()) record.station = placeholder;
    ReadText(store, "%cTimeStamp", slot, record.timeStamp);
    ReadText(store, "%cType", slot, record.type);
    ReadText(store, "%cUser", slot, record.user);
    if (record.user.empty()) record.user = placeholder;
    return true;
}

bool ParseTimeStamp(MessageSlot& record) {
    if (record.timeStamp.size() != 16) return false;
    record.day = ParseHex(record.timeStamp.substr(0, 8));
    record.millisecond = ParseHex(record.timeStamp.substr(8));
    return true;
}

std::string TimeText(int32_t day, int32_t millisecond) {
    const int64_t kTicksPerSecond = 10'000'000;
    int64_t hours = millisecond / 3'600'000;
    int64_t minutes = (millisecond % 3'600'000) / 60'000;
    int64_t seconds = ((millisecond % 3'600'000) % 60'000) / 1'000;
    SYSTEMTIME start = {};
    start.wYear = 1980;
    start.wMonth = 1;
    start.wDay = 1;
    FILETIME origin;
    if (!SystemTimeToFileTime(&start, &origin)) return "";
    const int64_t base = static_cast<int64_t>(origin.dwHighDateTime) << 32 | origin.dwLowDateTime;
    // A day count past the latest time the system's date holds would
    // overflow the tick count; such a stamp shows no time at all.
    const int64_t kTicksPerDay = 86'400 * kTicksPerSecond;
    const int64_t kLongestDayTicks = (INT32_MAX / 1'000 + 1) * kTicksPerSecond;
    if (day < 0 || millisecond < 0 || day > (INT64_MAX - base - kLongestDayTicks) / kTicksPerDay) return "";
    const int64_t ticks = base + day * kTicksPerDay + (hours * 3'600 + minutes * 60 + seconds) * kTicksPerSecond;
    FILETIME when = {static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME time;
    if (!FileTimeToSystemTime(&when, &time)) return "";

    char date[128] = {};
    if (!GetDateFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE | DATE_SHORTDATE, &time, nullptr, date, sizeof date))
        return "";
    std::string text = date;
    if (time.wHour || time.wMinute || time.wSecond) {
        char clock[128] = {};
        if (GetTimeFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, &time, nullptr, clock, sizeof clock))
            text += std::string(" ") + clock;
    }
    return text;
}

std::string MessageForDisplay(const std::string& message) {
    std::string marked;
    for (size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\n') {
            marked += '~';
            if (i + 1 < message.size() && message[i + 1] == '\r') ++i;
        } else {
            marked += message[i];
        }
    }
    std::string shown;
    for (char c : marked) {
        if (c == '~')
            shown += "\r\n";
        else if (c != '\b')
            shown += c;
    }
    return shown;
}

int CompareMessageSlots(const MessageSlot& a, const MessageSlot& b, int column, bool descending) {
    int result = 0;
    switch (column) {
    case 0:
        result = Sign(static_cast<int64_t>(a.seen) - b.seen);
        break;
    case 2:
        result = CompareTexts(a.station, b.station);
        break;
    case 3:
        result = CompareTexts(a.user, b.user);
        break;
    case 4:
        result = CompareTexts(a.caption, b.caption);
        break;
    default:
        break;
    }
    if (result == 0) result = CompareTimes(a, b);
    return descending ? -result : result;
}
