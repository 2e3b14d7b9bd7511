// Starting a program at a station: which station the user means and the
// request that carries the program to the driver.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "corehub_protocol.h"
#include "outcome.h"

namespace stationctl {

// A station as the user names it: a number 1 to 8, or the name under which
// it was launched.
struct StationArgument {
    std::optional<int32_t> index;  // driver index 0 to 7 when a number was given
    std::string name;              // otherwise the name
};

// Digits are a station number and must be 1 to 8; anything else is a name,
// which the driver keeps in at most 31 characters.
Outcome ParseStationArgument(std::string_view text, StationArgument& station);

// The file name of the program the command starts (quotes and folders
// dropped), cut to the 19 characters a task name holds; "program" when the
// command names none.
std::string DefaultTaskName(std::string_view command);

// Refuses texts the request cannot hold rather than cutting them.
Outcome BuildProgramStart(int32_t stationIndex, const std::string& task, const std::string& command,
                          CorehubProgramStart& start);

}  // namespace stationctl
