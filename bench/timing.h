// Wall-clock timing for the benches: a stopwatch on the performance counter
// and the median with the extremes of a series of runs.
#pragma once

#include <windows.h>

#include <vector>

namespace bench {

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double Milliseconds() const;

private:
    LARGE_INTEGER start_;
};

struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};

// Of an empty series, all zero.
Spread SpreadOf(std::vector<double> times);

}  // namespace bench
