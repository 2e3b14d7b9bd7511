// Counts the registry, file and profile-file calls that one module (a loaded
// library, or this program with the code linked into it) makes while a
// tally is open, with the time spent inside them. It redirects that module's
// own import table entries, as setup.exe's call watch does, so the code
// under measurement stays exactly as it ships.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

enum class CallKind { kRegistry, kFile, kProfile, kProcess };

struct LibraryTallyEntry {
    std::string function;
    CallKind kind = CallKind::kRegistry;
    long calls = 0;
    double milliseconds = 0;
};

struct LibraryCounts {
    std::vector<LibraryTallyEntry> entries;  // the functions called, in a fixed order
    long Calls(CallKind kind) const;
    long Calls() const;
};

class LibraryTally {
public:
    // Starts counting the library's calls; false when its import table
    // could not be read.
    bool Start(HMODULE library);
    // Stops counting and hands back what was counted.
    LibraryCounts Stop();

private:
    HMODULE library_ = nullptr;
};

}  // namespace bench
