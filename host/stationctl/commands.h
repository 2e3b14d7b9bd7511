// The command table and the dispatcher: which word runs which command, and
// the help that explains each.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "command_handlers.h"

namespace stationctl {

// What a command works on, which is also its group in the overview.
enum class Reach { kRegistry, kCorehub, kS3 };

struct Command {
    const char* name;
    const char* synopsis;  // the command's line in the overview
    const char* help;      // the full text of "help NAME"
    Outcome (*run)(const Arguments& args, std::ostream& out);
    Reach reach;
};

const std::vector<Command>& CommandTable();
const Command* FindCommand(std::string_view name);

// args are the words after the program name. Results go to out; a failure is
// one line on err. Returns the exit code.
int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace stationctl
