// What a command hands back to the dispatcher: success, or the exit code and
// the one line that tells the user what went wrong. Commands never throw;
// every failure travels as an Outcome.
#pragma once

#include <string>
#include <utility>

namespace stationctl {

enum ExitCode : int {
    kExitSuccess = 0,
    kExitBadArguments = 1,  // the command line was wrong; nothing was done
    kExitNoDriver = 2,      // \\.\Corehub could not be opened
    kExitFailed = 3,        // the registry or the driver refused the work
};

struct Outcome {
    int exitCode = kExitSuccess;
    std::string message;  // empty on success

    bool ok() const { return exitCode == kExitSuccess; }

    static Outcome Success() { return {}; }
    static Outcome BadArguments(std::string text) { return {kExitBadArguments, std::move(text)}; }
    static Outcome NoDriver(std::string text) { return {kExitNoDriver, std::move(text)}; }
    static Outcome Failed(std::string text) { return {kExitFailed, std::move(text)}; }
};

}  // namespace stationctl
