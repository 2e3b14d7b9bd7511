// The message store the control center's message log reads: 26 slots, a to
// z, each a group of values named by the slot letter and the field.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "outcome.h"

namespace stationctl {

inline constexpr int kSlotCount = 26;
// The log reads every string into 512 bytes, terminator included; a longer
// message would make the whole slot vanish from the log.
inline constexpr size_t kMaxStoreText = 511;

struct StationMessage {
    char slot = 'a';
    std::string message;
    std::string caption;
    std::string station;
    std::string timeStamp;
    std::string type;
    std::string user;
    bool seen = false;
};

// "%c" + field, e.g. ('c', "Message") -> "cMessage".
std::string SlotValueName(char slot, std::string_view field);

// The first slot whose message value is absent; nothing when all are taken.
std::optional<char> ChooseFreeSlot(const std::array<bool, kSlotCount>& occupied);

// Which slots hold a message value now. A store that does not exist yet is
// empty.
Outcome ReadOccupiedSlots(std::array<bool, kSlotCount>& occupied);

// Writes every field of the slot, creating the store key when needed.
Outcome WriteStationMessage(const StationMessage& message);

}  // namespace stationctl
