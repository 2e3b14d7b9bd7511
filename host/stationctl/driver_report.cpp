#include "driver_report.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace stationctl {

std::string FormatRequestLine(const CorehubLogEntry& entry) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%06X", static_cast<unsigned>(entry.code));
    std::string line = code;
    uint32_t kept = std::min<uint32_t>(entry.inputLength, COREHUB_LOG_INPUT_BYTES);
    static const char kHex[] = "0123456789abcdef";
    for (uint32_t i = 0; i < kept; ++i) {
        line += ' ';
        line += kHex[entry.input[i] >> 4];
        line += kHex[entry.input[i] & 0x0F];
    }
    if (entry.device == 1) line += " portlane";
    return line;
}

namespace {

const char* OnOff(uint32_t value) {
    return value ? "on" : "off";
}

std::string ShutdownText(const CorehubStatus& status) {
    std::string mode = std::to_string(status.shutdownMode);
    switch (status.shutdownStage) {
    case 0:
        return "none";
    case 1:
        return "prepared (mode " + mode + ")";
    case 2:
        return "executed (prepared with mode " + mode + ", executed with mode " + std::to_string(status.executeMode) +
               ")";
    default:
        return "stage " + std::to_string(status.shutdownStage) + " (mode " + mode + ", execute mode " +
               std::to_string(status.executeMode) + ")";
    }
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::vector<std::string> FormatStatus(const CorehubStatus& status) {
    return {
        std::string("pending work: ") + OnOff(status.pending),
        std::string("at station: ") + OnOff(status.atStation),
        "launched stations: " + std::to_string(status.launchCount),
        "tasks: " + std::to_string(status.taskCount),
        "programs: " + std::to_string(status.programCount),
        "texts: " + std::to_string(status.textCount),
        "shutdown: " + ShutdownText(status),
        "requests: " + std::to_string(status.requestCount),
    };
}

std::string StationLabel(int32_t stationIndex) {
    if (stationIndex >= 0 && stationIndex <= 7) return "station " + std::to_string(stationIndex + 1);
    return "station index " + std::to_string(stationIndex);
}

std::vector<std::string> FormatListing(const std::vector<LaunchInfo>& launches, const std::vector<TaskInfo>& tasks,
                                       const std::vector<ProgramInfo>& programs,
                                       const std::vector<DeviceInfo>& devices) {
    std::vector<std::string> lines;
    std::set<uint32_t> placedTasks;
    std::set<size_t> placedPrograms;
    auto addTask = [&](const TaskInfo& task, const std::string& indent, const std::string& owner) {
        placedTasks.insert(task.key);
        lines.push_back(indent + "task " + std::to_string(task.key) + owner);
        for (size_t p = 0; p < programs.size(); ++p) {
            if (programs[p].taskKey != task.key) continue;
            placedPrograms.insert(p);
            lines.push_back(indent + "  " + programs[p].command);
        }
    };

    std::set<int32_t> launchedIndexes;
    for (const LaunchInfo& launch : launches) {
        launchedIndexes.insert(launch.stationIndex);
        lines.push_back(StationLabel(launch.stationIndex) + ": " + Quoted(launch.stationName) + ", user " +
                        Quoted(launch.userName));
        for (const TaskInfo& task : tasks)
            if (task.stationIndex == launch.stationIndex && !placedTasks.count(task.key)) addTask(task, "  ", "");
    }
    if (launches.empty()) lines.push_back("no launched stations");

    bool orphanHeader = false;
    for (const TaskInfo& task : tasks) {
        if (placedTasks.count(task.key)) continue;
        if (!orphanHeader) lines.push_back("tasks of stations not launched:");
        orphanHeader = true;
        addTask(task, "  ", " (" + StationLabel(task.stationIndex) + ")");
    }
    bool programHeader = false;
    for (size_t p = 0; p < programs.size(); ++p) {
        if (placedPrograms.count(p)) continue;
        if (!programHeader) lines.push_back("programs of unknown tasks:");
        programHeader = true;
        lines.push_back("  task " + std::to_string(programs[p].taskKey) + ": " + programs[p].command);
    }

    for (const DeviceInfo& device : devices) {
        char line[64];
        std::snprintf(line, sizeof line, "device 0x%04X %u.%02u", device.id, device.major, device.minor);
        lines.push_back(device.name.empty() ? std::string(line) : std::string(line) + " " + device.name);
    }
    return lines;
}

}  // namespace stationctl
