// One function per command. Each takes the words after the command's name,
// writes its results to out and returns how it ended; the dispatcher prints
// the failure line and turns it into the exit code.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "outcome.h"

namespace stationctl {

using Arguments = std::vector<std::string>;

// Registry side (registry_commands.cpp, message_command.cpp).
Outcome RunBoard(const Arguments& args, std::ostream& out);
Outcome RunStation(const Arguments& args, std::ostream& out);
Outcome RunMessage(const Arguments& args, std::ostream& out);
Outcome RunRestart(const Arguments& args, std::ostream& out);

// Driver side (driver_commands.cpp).
Outcome RunProgram(const Arguments& args, std::ostream& out);
Outcome RunPending(const Arguments& args, std::ostream& out);
Outcome RunAtStation(const Arguments& args, std::ostream& out);
Outcome RunAbsent(const Arguments& args, std::ostream& out);
Outcome RunDevice(const Arguments& args, std::ostream& out);
Outcome RunShow(const Arguments& args, std::ostream& out);
Outcome RunStatus(const Arguments& args, std::ostream& out);
Outcome RunList(const Arguments& args, std::ostream& out);
Outcome RunRequests(const Arguments& args, std::ostream& out);
Outcome RunReset(const Arguments& args, std::ostream& out);

// The S3 display support driver (s3_commands.cpp).
Outcome RunS3(const Arguments& args, std::ostream& out);

}  // namespace stationctl
