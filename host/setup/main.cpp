// setup.exe: the setup engine and uninstaller of the Orvanta products, as far
// as Cleanup.dll meets them.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"

int main(int argc, char** argv) {
    // Lines end in a bare line feed, as stationctl's do, for the scripts
    // that read them.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A library that cannot be found is reported on the console, never in a
    // system dialog box that nobody answers.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        setup::Invocation invocation;
        std::string error;
        if (!setup::ParseArguments(args, invocation, error)) {
            std::cerr << "setup: " << error << "\n\n" << setup::UsageText() << std::flush;
            return setup::kExitBadArguments;
        }
        return setup::Run(invocation, std::cout, std::cerr);
    } catch (const std::exception& failure) {
        std::cerr << "setup: " << failure.what() << std::endl;
    } catch (...) {
        std::cerr << "setup: unexpected failure" << std::endl;
    }
    return setup::kExitStepFailed;
}
