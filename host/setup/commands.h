// The three commands of setup.exe: install, uninstall and call.
#pragma once

#include <ostream>

#include "arguments.h"

namespace setup {

enum ExitCode : int {
    kExitDone = 0,
    kExitStopped = 1,       // the library told setup or the uninstall to stop
    kExitBadArguments = 2,  // nothing was done
    kExitNoLibrary = 3,     // the library or one of its exports cannot be loaded
    kExitStepFailed = 4,    // copying, the registry or removal failed
};

// Runs the command. Each step is reported as one line on out, flushed at
// once, so that whoever watches setup sees where it is while the library
// waits for an answer; failures go to err.
int Run(const Invocation& invocation, std::ostream& out, std::ostream& err);

}  // namespace setup
