// The commands that reach the stand-in station-manager driver. Arguments are
// checked before the device is opened, so a wrong command line is reported
// as such even where no driver runs.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "arguments.h"
#include "command_handlers.h"
#include "corehub_device.h"
#include "corehub_protocol.h"
#include "driver_records.h"
#include "driver_report.h"
#include "program_start.h"
#include "text_escape.h"

namespace stationctl {

namespace {

// A driver that never ends an enumeration must not keep us here forever;
// its tables are far smaller than this.
constexpr size_t kEnumerationLimit = 4096;

Outcome ParseOnly(const Arguments& args, std::initializer_list<std::string_view> options, size_t min, size_t max,
                  const char* command, CommandLine& parsed) {
    Outcome outcome = ParseCommandLine(args, options, parsed);
    if (outcome.ok()) outcome = ExpectPositionals(parsed, min, max, command);
    return outcome;
}

Outcome SetSwitch(const Arguments& args, const char* command, DWORD code, const char* what) {
    CommandLine parsed;
    Outcome outcome = ParseOnly(args, {}, 1, 1, command, parsed);
    if (!outcome.ok()) return outcome;
    auto on = ParseSwitch(parsed.positional[0]);
    if (!on) return Outcome::BadArguments(std::string(command) + ": say on or off, not '" + parsed.positional[0] + "'");
    CorehubDevice device;
    outcome = device.Open();
    if (!outcome.ok()) return outcome;
    uint32_t value = *on ? 1 : 0;
    DWORD returned = 0;
    return device.Require(code, &value, sizeof value, nullptr, 0, returned, what);
}

// The product's enumerations: a first request, then next-requests on the
// same buffer, which carries the position the driver wrote into its last
// answer, until one fails.
template <typename Bytes, typename Info>
std::vector<Info> Enumerate(CorehubDevice& device, DWORD first, DWORD next, Info (*decode)(const Bytes&)) {
    std::vector<Info> found;
    Bytes record = {};
    DWORD returned = 0, error = 0;
    DWORD code = first;
    while (found.size() < kEnumerationLimit &&
           device.Request(code, record.data(), static_cast<DWORD>(record.size()), record.data(),
                          static_cast<DWORD>(record.size()), returned, error)) {
        found.push_back(decode(record));
        code = next;
    }
    return found;
}

std::vector<LaunchInfo> LaunchedStations(CorehubDevice& device) {
    return Enumerate<LaunchBytes, LaunchInfo>(device, COREHUB_FIRST_LAUNCH, COREHUB_NEXT_LAUNCH, DecodeLaunch);
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace

Outcome RunProgram(const Arguments& args, std::ostream& out) {
    CommandLine parsed;
    Outcome outcome = ParseOnly(args, {"--task"}, 2, 2, "run", parsed);
    StationArgument station;
    if (outcome.ok()) outcome = ParseStationArgument(parsed.positional[0], station);
    if (!outcome.ok()) return outcome;
    const std::string& command = parsed.positional[1];
    std::string task = parsed.Has("--task") ? *parsed.Find("--task") : DefaultTaskName(command);
    CorehubProgramStart start;
    // Built before the station is known, so that a text too long is refused
    // before the driver is asked anything; the index goes in below.
    outcome = BuildProgramStart(0, task, command, start);
    if (!outcome.ok()) return outcome;

    CorehubDevice device;
    outcome = device.Open();
    if (!outcome.ok()) return outcome;
    int32_t index = 0;
    if (station.index) {
        index = *station.index;
    } else {
        std::vector<LaunchInfo> launches = LaunchedStations(device);
        auto match = std::find_if(launches.begin(), launches.end(), [&](const LaunchInfo& launch) {
            return SameNameIgnoringCase(launch.stationName, station.name);
        });
        if (match == launches.end()) return Outcome::Failed("no launched station is named '" + station.name + "'");
        index = match->stationIndex;
    }
    start.stationIndex = index;
    uint32_t taskKey = 0;
    DWORD returned = 0;
    outcome = device.Require(
        COREHUB_PRIVATE_START_PROGRAM, &start, sizeof start, &taskKey, sizeof taskKey, returned,
        "to start the program at " + StationLabel(index) + " (is it launched? are the driver's tables full?)");
    if (!outcome.ok()) return outcome;
    if (returned < sizeof taskKey) return Outcome::Failed("the driver started the program but gave no task key");
    out << taskKey << "\n";
    return Outcome::Success();
}

Outcome RunPending(const Arguments& args, std::ostream&) {
    return SetSwitch(args, "pending", COREHUB_PRIVATE_SET_PENDING, "the pending-work switch");
}

Outcome RunAbsent(const Arguments& args, std::ostream&) {
    return SetSwitch(args, "absent", COREHUB_PRIVATE_SET_ABSENT, "the absent switch");
}

Outcome RunAtStation(const Arguments& args, std::ostream&) {
    return SetSwitch(args, "at-station", COREHUB_PRIVATE_SET_AT_STATION, "the at-station switch");
}

Outcome RunDevice(const Arguments& args, std::ostream&) {
    CommandLine parsed;
    Outcome outcome = ParseOnly(args, {}, 2, 2, "device", parsed);
    if (!outcome.ok()) return outcome;
    const std::string& action = parsed.positional[0];
    if (action != "remove" && action != "restore")
        return Outcome::BadArguments("device: say remove or restore, not '" + action + "'");
    auto id = ParseNumber(parsed.positional[1], 0xFFFF);
    if (!id)
        return Outcome::BadArguments("device: the ID must be a 16-bit number such as 0x3AE3 or 15075, not '" +
                                     parsed.positional[1] + "'");
    CorehubDevice device;
    outcome = device.Open();
    if (!outcome.ok()) return outcome;
    CorehubDeviceSwitch change = {static_cast<uint16_t>(*id), static_cast<uint16_t>(action == "restore" ? 1 : 0)};
    DWORD returned = 0;
    char name[16];
    std::snprintf(name, sizeof name, "0x%04X", static_cast<unsigned>(*id));
    return device.Require(COREHUB_PRIVATE_SET_DEVICE, &change, sizeof change, nullptr, 0, returned,
                          std::string("to ") + action + " device " + name + " (does it know the ID?)");
}

Outcome RunShow(const Arguments& args, std::ostream& out) {
    CommandLine parsed;
    Outcome outcome = ParseOnly(args, {}, 0, 1, "show", parsed);
    // Texts go to every station alike; a station number is only checked.
    if (outcome.ok() && !parsed.positional.empty() && !ParseDecimalInRange(parsed.positional[0], 1, 8))
        outcome = Outcome::BadArguments("show: station number must be 1 to 8, not '" + parsed.positional[0] + "'");
    if (!outcome.ok()) return outcome;
    CorehubDevice device;
    outcome = device.Open();
    if (!outcome.ok()) return outcome;

    std::vector<std::string> texts;
    std::vector<char> page(sizeof(uint32_t) + COREHUB_TEXT_CAPACITY * COREHUB_TEXT_RECORD_SIZE);
    for (;;) {
        uint32_t first = static_cast<uint32_t>(texts.size());
        DWORD returned = 0;
        outcome = device.Require(COREHUB_PRIVATE_READ_TEXTS, &first, sizeof first, page.data(),
                                 static_cast<DWORD>(page.size()), returned, "to read the texts");
        if (!outcome.ok()) return outcome;
        if (returned < sizeof(uint32_t)) return Outcome::Failed("the driver's answer to reading the texts is short");
        uint32_t count = 0;
        std::memcpy(&count, page.data(), sizeof count);
        // The byte count says how many texts this page holds.
        size_t onPage =
            std::min<size_t>((returned - sizeof count) / COREHUB_TEXT_RECORD_SIZE, count > first ? count - first : 0);
        for (size_t i = 0; i < onPage; ++i) {
            const char* text = page.data() + sizeof count + i * COREHUB_TEXT_RECORD_SIZE;
            texts.emplace_back(text, strnlen(text, COREHUB_TEXT_RECORD_SIZE));
        }
        if (onPage == 0 || texts.size() >= count) break;
    }
    for (const std::string& text : texts) out << EscapeForLine(text) << "\n";
    return Outcome::Success();
}

Outcome RunStatus(const Arguments& args, std::ostream& out) {
    CommandLine parsed;
    Outcome outcome = ParseOnly(args, {}, 0, 0, "status", parsed);
    if (!outcome.ok()) return outcome;
    CorehubDevice device;
    outcome = device.Open();
    if (!outcome.ok()) return outcome;
    CorehubStatus status = {};
    DWORD returned = 0;
    outcome = device.Require(COREHUB_PRIVATE_READ_STATUS, nullptr, 0, &status, sizeof status, returned,
                             "to report its status");
    if (!outcome.ok()) return outcome;
    if (returned < sizeof status) return Outcome::Failed("the driver's status answer is short");
    for (const std::string& line : FormatStatus(status)) out << line << "\n";
    return Outcome::Success();
}

Outcome RunList(const Arguments& args, std::ostream& out) {
    CommandLine parsed;
    Outcome outcome = ParseOnly(args, {}, 0, 0, "list", parsed);
    if (!outcome.ok()) return outcome;
    CorehubDevice device;
    outcome = device.Open();
    if (!outcome.ok()) return outcome;
    auto launches = LaunchedStations(device);
    auto tasks = Enumerate<TaskBytes, TaskInfo>(device, COREHUB_FIRST_TASK, COREHUB_NEXT_TASK, DecodeTask);
    auto programs =
        Enumerate<ProgramBytes, ProgramInfo>(device, COREHUB_FIRST_PROGRAM, COREHUB_NEXT_PROGRAM, DecodeProgram);
    auto devices = Enumerate<DeviceBytes, DeviceInfo>(device, COREHUB_FIRST_DEVICE, COREHUB_NEXT_DEVICE, DecodeDevice);
    for (const std::string& line : FormatListing(launches, tasks, programs, devices)) out << line << "\n";
    return Outcome::Success();
}

Outcome RunRequests(const Arguments& args, std::ostream& out) {
    CommandLine parsed;
    Outcome outcome = ParseOnly(args, {}, 0, 0, "requests", parsed);
    if (!outcome.ok()) return outcome;
    CorehubDevice device;
    outcome = device.Open();
    if (!outcome.ok()) return outcome;

    std::vector<std::string> lines;
    std::vector<uint8_t> page(sizeof(CorehubLogPage) + 32 * sizeof(CorehubLogEntry));
    for (;;) {
        uint32_t first = static_cast<uint32_t>(lines.size());
        DWORD returned = 0;
        outcome = device.Require(COREHUB_PRIVATE_READ_LOG, &first, sizeof first, page.data(),
                                 static_cast<DWORD>(page.size()), returned, "to read the request log");
        if (!outcome.ok()) return outcome;
        if (returned < sizeof(CorehubLogPage)) return Outcome::Failed("the driver's request log answer is short");
        CorehubLogPage header;
        std::memcpy(&header, page.data(), sizeof header);
        // Never trust the count beyond the bytes actually answered.
        size_t onPage = std::min<size_t>(header.returned, (returned - sizeof header) / sizeof(CorehubLogEntry));
        for (size_t i = 0; i < onPage; ++i) {
            CorehubLogEntry entry;
            std::memcpy(&entry, page.data() + sizeof header + i * sizeof entry, sizeof entry);
            lines.push_back(FormatRequestLine(entry));
        }
        if (onPage == 0 || lines.size() >= header.total) break;
    }
    for (const std::string& line : lines) out << line << "\n";
    return Outcome::Success();
}

Outcome RunReset(const Arguments& args, std::ostream&) {
    CommandLine parsed;
    Outcome outcome = ParseOnly(args, {}, 0, 0, "reset", parsed);
    if (!outcome.ok()) return outcome;
    CorehubDevice device;
    outcome = device.Open();
    if (!outcome.ok()) return outcome;
    DWORD returned = 0;
    return device.Require(COREHUB_PRIVATE_RESET, nullptr, 0, nullptr, 0, returned, "to reset");
}

}  // namespace stationctl
