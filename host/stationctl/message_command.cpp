// message: what a station records when it raises a blue-screen message.
#include "arguments.h"
#include "command_handlers.h"
#include "message_store.h"
#include "text_escape.h"
#include "time_stamp.h"

namespace stationctl {

namespace {

Outcome CheckStoreText(const char* option, const std::string& text) {
    if (text.size() <= kMaxStoreText) return Outcome::Success();
    return Outcome::BadArguments(std::string(option) + " is " + std::to_string(text.size()) +
                                 " bytes long; the message store holds at most " + std::to_string(kMaxStoreText));
}

}  // namespace

Outcome RunMessage(const Arguments& args, std::ostream& out) {
    CommandLine parsed;
    Outcome outcome = ParseCommandLine(
        args, {"--station", "--text", "--slot", "--caption", "--user", "--type", "--time", "--seen"}, parsed);
    if (outcome.ok()) outcome = ExpectPositionals(parsed, 0, 0, "message");
    if (!outcome.ok()) return outcome;
    if (!parsed.Has("--station")) return Outcome::BadArguments("message: --station is required");
    if (!parsed.Has("--text")) return Outcome::BadArguments("message: --text is required");

    StationMessage message;
    message.station = *parsed.Find("--station");
    message.message = UnescapeText(*parsed.Find("--text"));
    message.caption = parsed.Has("--caption") ? *parsed.Find("--caption") : "Station Message";
    message.user = parsed.Has("--user") ? *parsed.Find("--user") : "(none)";
    message.type = parsed.Has("--type") ? *parsed.Find("--type") : "BlueScreen";
    const std::pair<const char*, const std::string*> texts[] = {{"--text", &message.message},
                                                                {"--station", &message.station},
                                                                {"--caption", &message.caption},
                                                                {"--user", &message.user},
                                                                {"--type", &message.type}};
    for (const auto& [option, text] : texts) {
        outcome = CheckStoreText(option, *text);
        if (!outcome.ok()) return outcome;
    }

    if (const std::string* seen = parsed.Find("--seen")) {
        auto flag = ParseFlag(*seen);
        if (!flag) return Outcome::BadArguments("--seen must be 0 or 1, not '" + *seen + "'");
        message.seen = *flag;
    }

    if (const std::string* time = parsed.Find("--time")) {
        if (!IsTimeStamp(*time))
            return Outcome::BadArguments(
                "--time must be 16 hexadecimal digits (8 for days since 1 Jan 1980, 8 for "
                "milliseconds since midnight), not '" +
                *time + "'");
        message.timeStamp = *time;
    } else {
        auto now = CurrentTimeStamp();
        if (!now) return Outcome::Failed("message: the local clock gives a time before 1980");
        message.timeStamp = *now;
    }

    if (const std::string* slot = parsed.Find("--slot")) {
        auto letter = ParseSlotLetter(*slot);
        if (!letter) return Outcome::BadArguments("--slot must be one letter a to z, not '" + *slot + "'");
        message.slot = *letter;
    } else {
        std::array<bool, kSlotCount> occupied;
        outcome = ReadOccupiedSlots(occupied);
        if (!outcome.ok()) return outcome;
        auto free = ChooseFreeSlot(occupied);
        if (!free) return Outcome::Failed("the message store is full: slots a to z all hold a message");
        message.slot = *free;
    }

    outcome = WriteStationMessage(message);
    if (outcome.ok()) out << message.slot << "\n";
    return outcome;
}

}  // namespace stationctl
