// Runs a stationctl command line in-process, as main() would, and keeps what
// it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "commands.h"

struct CommandRun {
    int exitCode;
    std::string out;
    std::string err;
};

inline CommandRun RunCommand(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int code = stationctl::Dispatch(args, out, err);
    return {code, out.str(), err.str()};
}

// A failure is reported as exactly one line.
inline bool IsOneLine(const std::string& text) {
    return !text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1;
}
