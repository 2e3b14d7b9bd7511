// The station message store: up to 26 messages that the stations leave as
// groups of values, one group per letter "a" to "z", in one key below the
// product's setup key. What one slot holds, how it reads, how its time
// stamp and text are shown, and how two slots are ordered.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class RegistryKey;

const int kMessageSlotCount = 26;

// The store's key below HKEY_LOCAL_MACHINE.
std::string MessageStorePath();

struct MessageSlot {
    uint32_t seen = 0;  // 0 new, otherwise seen
    std::string caption;
    std::string message;
    std::string station;
    std::string timeStamp;  // 16 hexadecimal digits: days since 1980, milliseconds since midnight
    std::string type;
    std::string user;
    int32_t day = 0;
    int32_t millisecond = 0;
};

// A value name of a slot: the letter in place of the format's %c.
std::string SlotValueName(const char* format, int slot);

// Reads the slot's values into the record, each only when it can be read;
// false, and nothing more read, when the slot has no readable message. An
// empty caption, station or user becomes the placeholder.
bool ReadMessageSlot(RegistryKey& store, int slot, MessageSlot& record, const std::string& placeholder);

// Takes day and millisecond from a time stamp of exactly 16 characters;
// false (the record kept as it was) for any other length.
bool ParseTimeStamp(MessageSlot& record);
// The time a record stands for as local date and time text (the date alone
// at midnight); empty when the time lies outside what the system can show.
std::string TimeText(int32_t day, int32_t millisecond);

// A message as the pane shows it: line feeds (with a carriage return after
// them) and tildes become line breaks, backspaces go.
std::string MessageForDisplay(const std::string& message);

// Orders two records by a list column (0 status, 1 time, 2 station, 3 user,
// 4 caption), ties by time; negative when a comes first.
int CompareMessageSlots(const MessageSlot& a, const MessageSlot& b, int column, bool descending);
