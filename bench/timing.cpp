#include "timing.h"

#include <algorithm>

namespace bench {

double Stopwatch::Milliseconds() const {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
}

Spread SpreadOf(std::vector<double> times) {
    Spread spread;
    if (times.empty()) return spread;
    std::sort(times.begin(), times.end());
    const size_t middle = times.size() / 2;
    spread.median = times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    spread.min = times.front();
    spread.max = times.back();
    return spread;
}

}  // namespace bench
