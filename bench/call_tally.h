// Counts the calls this program makes to the functions that the registry
// snapshot uses (registry enumeration, file writes, flushes) and the time
// spent inside them while a tally is open. Like CallTrace it redirects the
// program's own import table entries, so the code under measurement stays as
// it ships.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct Tally {
    std::string function;
    long calls = 0;
    double milliseconds = 0;
};

class CallTally {
public:
    // Starts counting; false when the import table could not be changed.
    bool Start();
    // Stops counting and hands back one entry per function called.
    std::vector<Tally> Stop();
};

}  // namespace bench
