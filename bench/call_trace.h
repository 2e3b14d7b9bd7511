// Records every registry and profile call that this program makes while a
// trace is open, with its key, value name, buffer size, data and result. It
// redirects the program's own import table entries for the functions that
// the configuration store uses, so the code under measurement stays exactly
// as it ships; outside a trace the entries point at the system again and
// cost nothing.
#pragma once

#include <string>
#include <vector>

namespace bench {

class CallTrace {
public:
    // Starts recording; false when the import table could not be changed.
    bool Start();
    // Stops recording and hands back one line per call, in call order.
    std::vector<std::string> Stop();
};

}  // namespace bench
