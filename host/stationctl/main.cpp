// stationctl.exe: the station side of an Orvanta host, for tests and demos.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"

int main(int argc, char** argv) {
    // Lines end in a bare line feed: the scripts that read our output run on
    // the host's shell, where a carriage return would stick to every value.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        int code = stationctl::Dispatch(args, std::cout, std::cerr);
        std::cout.flush();
        return code;
    } catch (const std::exception& error) {
        // Only allocation can throw here; report it like any other failure.
        std::cerr << "stationctl: " << error.what() << "\n";
    } catch (...) {
        std::cerr << "stationctl: unexpected failure\n";
    }
    return stationctl::kExitFailed;
}
