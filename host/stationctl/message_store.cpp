#include "message_store.h"

#include <utility>

#include "registry_key.h"
#include "registry_paths.h"

namespace stationctl {

std::string SlotValueName(char slot, std::string_view field) {
    std::string name(1, slot);
    name += field;
    return name;
}

std::optional<char> ChooseFreeSlot(const std::array<bool, kSlotCount>& occupied) {
    for (int i = 0; i < kSlotCount; ++i)
        if (!occupied[i]) return static_cast<char>('a' + i);
    return std::nullopt;
}

Outcome ReadOccupiedSlots(std::array<bool, kSlotCount>& occupied) {
    occupied.fill(false);
    RegKey store;
    LONG error = store.Open(HKEY_LOCAL_MACHINE, kMessageStoreKey);
    if (error == ERROR_FILE_NOT_FOUND) return Outcome::Success();
    if (error != ERROR_SUCCESS)
        return Outcome::Failed(std::string("cannot open the message store: ") + ErrorText(error));
    for (int i = 0; i < kSlotCount; ++i)
        occupied[i] = store.HasValue(SlotValueName(static_cast<char>('a' + i), "Message"));
    return Outcome::Success();
}

Outcome WriteStationMessage(const StationMessage& message) {
    RegKey store;
    LONG error = store.Create(HKEY_LOCAL_MACHINE, kMessageStoreKey);
    if (error != ERROR_SUCCESS)
        return Outcome::Failed(std::string("cannot create the message store: ") + ErrorText(error));
    char slot = message.slot;
    // A slot being replaced leaves the log first, for the same reason its
    // message comes back last (below).
    error = store.DeleteValue(SlotValueName(slot, "Message"));
    const std::pair<const char*, const std::string*> fields[] = {{"Caption", &message.caption},
                                                                 {"Station", &message.station},
                                                                 {"TimeStamp", &message.timeStamp},
                                                                 {"Type", &message.type},
                                                                 {"User", &message.user}};
    for (const auto& [field, text] : fields) {
        if (error != ERROR_SUCCESS) break;
        error = store.SetString(SlotValueName(slot, field), *text);
    }
    if (error == ERROR_SUCCESS) error = store.SetByte(SlotValueName(slot, "SeenByFrontEnd"), message.seen ? 1 : 0);
    // The log takes a slot as present once its message value reads, so the
    // message goes in last: a reader in between never sees a slot whose
    // other fields are not written yet.
    if (error == ERROR_SUCCESS) error = store.SetString(SlotValueName(slot, "Message"), message.message);
    if (error != ERROR_SUCCESS)
        return Outcome::Failed(std::string("cannot write slot ") + slot + " of the message store: " + ErrorText(error));
    return Outcome::Success();
}

}  // namespace stationctl
