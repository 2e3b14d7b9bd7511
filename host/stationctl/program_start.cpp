#include "program_start.h"

#include <cstring>

#include "arguments.h"

namespace stationctl {

Outcome ParseStationArgument(std::string_view text, StationArgument& station) {
    station = {};
    if (text.empty()) return Outcome::BadArguments("the station is empty");
    bool digits = text.find_first_not_of("0123456789") == std::string_view::npos;
    if (digits) {
        auto number = ParseDecimalInRange(text, 1, 8);
        if (!number) return Outcome::BadArguments("station number " + std::string(text) + " is not 1 to 8");
        station.index = *number - 1;
        return Outcome::Success();
    }
    if (text.size() > 31)
        return Outcome::BadArguments("station name '" + std::string(text) + "' is longer than 31 characters");
    station.name = text;
    return Outcome::Success();
}

std::string DefaultTaskName(std::string_view command) {
    size_t start = command.find_first_not_of(' ');
    if (start == std::string_view::npos) return "program";
    command.remove_prefix(start);
    std::string_view program;
    if (command.front() == '"') {
        command.remove_prefix(1);
        program = command.substr(0, command.find('"'));
    } else {
        program = command.substr(0, command.find(' '));
    }
    if (size_t slash = program.find_last_of("\\/:"); slash != std::string_view::npos) program.remove_prefix(slash + 1);
    program = program.substr(0, sizeof(CorehubProgramStart::task) - 1);
    return program.empty() ? std::string("program") : std::string(program);
}

Outcome BuildProgramStart(int32_t stationIndex, const std::string& task, const std::string& command,
                          CorehubProgramStart& start) {
    std::memset(&start, 0, sizeof start);
    if (command.empty()) return Outcome::BadArguments("run: the command text is empty");
    if (command.size() >= sizeof start.command)
        return Outcome::BadArguments("run: the command text has " + std::to_string(command.size()) +
                                     " characters; the driver takes at most " +
                                     std::to_string(sizeof start.command - 1));
    if (task.empty()) return Outcome::BadArguments("run: the task name is empty");
    if (task.size() >= sizeof start.task)
        return Outcome::BadArguments("run: task name '" + task + "' is longer than " +
                                     std::to_string(sizeof start.task - 1) + " characters");
    start.stationIndex = stationIndex;
    std::memcpy(start.task, task.data(), task.size());
    std::memcpy(start.command, command.data(), command.size());
    return Outcome::Success();
}

}  // namespace stationctl
