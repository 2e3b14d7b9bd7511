#include "call_tally.h"

#include <windows.h>

#include <cstring>

#include "import_table.h"

namespace bench {

namespace {

struct Count {
    long calls = 0;
    LONGLONG ticks = 0;
};

const int kFunctionCount = 10;
Count counts[kFunctionCount];
bool counting = false;

// One replacement per function: the system's entry is kept in real, and each
// call is timed on the performance counter around it.
template <int Index, typename Function>
struct Counted;

template <int Index, typename Result, typename... Arguments>
struct Counted<Index, Result (*)(Arguments...)> {
    static inline Result (*real)(Arguments...) = nullptr;
    static Result Call(Arguments... arguments) {
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        Result result = real(arguments...);
        QueryPerformanceCounter(&after);
        ++counts[Index].calls;
        counts[Index].ticks += after.QuadPart - before.QuadPart;
        return result;
    }
};

#define COUNT(index, function)                                                              \
    {                                                                                       \
#function, reinterpret_cast < void**>(&Counted <index, decltype(&function)>::real), \
            reinterpret_cast < void*>(&Counted <index, decltype(&function)>::Call)          \
    }

const Redirection redirections[kFunctionCount] = {
    COUNT(0, RegOpenKeyExA), COUNT(1, RegCloseKey),       COUNT(2, RegEnumValueA),    COUNT(3, RegEnumKeyExA),
    COUNT(4, CreateFileA),   COUNT(5, WriteFile),         COUNT(6, FlushFileBuffers), COUNT(7, CloseHandle),
    COUNT(8, MoveFileA),     COUNT(9, GetFileAttributesA)};

#undef COUNT

}  // namespace

bool CallTally::Start() {
    if (counting) return false;
    for (Count& count : counts) count = {};
    counting = true;
    // A function the program does not import would go uncounted.
    if (RedirectImports(redirections, kFunctionCount, true) != kFunctionCount) {
        Stop();
        return false;
    }
    return true;
}

std::vector<Tally> CallTally::Stop() {
    if (!counting) return {};
    RedirectImports(redirections, kFunctionCount, false);
    counting = false;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<Tally> tallies;
    for (int i = 0; i < kFunctionCount; ++i) {
        if (!counts[i].calls) continue;
        tallies.push_back({redirections[i].name, counts[i].calls,
                           1000.0 * static_cast<double>(counts[i].ticks) / static_cast<double>(frequency.QuadPart)});
    }
    return tallies;
}

}  // namespace bench
