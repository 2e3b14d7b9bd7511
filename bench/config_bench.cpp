// config_bench.exe: how long the configuration store takes to load and save
// an eight-station, four-board installation, next to the same registry and
// profile calls made directly. Before it times anything it records both
// call sequences and stops unless they are identical. scripts/bench runs it
// on a fresh host; it leaves the host's installation as it found it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "application_device.h"
#include "bench_installation.h"
#include "call_trace.h"
#include "config_messages.h"
#include "raw_config.h"
#include "resources.h"
#include "system_config.h"

// The application's side of the model. Loading and saving never reach them:
// only a launch shows a message or asks the driver.
int ShowAppMessageId(UINT, UINT) {
    return IDOK;
}
HANDLE ApplicationDeviceHandle() {
    return INVALID_HANDLE_VALUE;
}

namespace {

// The calls each operation makes on this installation, counted in
// config/*.cpp: RegistryKey's Open, Create and Close are RegOpenKeyExA,
// RegCreateKeyA and RegCloseKey, each Query is one RegQueryValueExA, each
// Set one RegSetValueExA; FlushMachine is RegFlushKey, and every entry of
// the port list and its flush is one WriteProfileStringA.
constexpr int kGlobalsLoad = (1 + 4 + 1) + (1 + 1 + 1);  // product key, setup key
constexpr int kBoardLoad = 1 + 10 + 1;                   // its name is there: no write
constexpr int kBoardSave = 1 + 9 + 1;                    // board 1 writes one more
constexpr int kGlobalsSave = 1 + 3 + 1 + 1;              // and the flush of the hive
constexpr int kHardwareKey = 1 + 11 + 1;
constexpr int kSerialDriverKey = 1 + 12 + 1;
constexpr int kPrinterDriverKey = 1 + 9 + 1;
constexpr int kStationProfileCalls = 3 + 1;  // one entry per port, then the flush
constexpr int kStationSave =
    (1 + 16 + 1) + 2 * (kHardwareKey + kSerialDriverKey) + (kHardwareKey + kPrinterDriverKey) + kStationProfileCalls;
// Every port is on, so each load checks three hardware keys and saves.
constexpr int kStationLoad = (1 + 21 + 1) + 3 * 2 + kStationSave;
constexpr int kLoadAllCalls = kGlobalsLoad + 4 * kBoardLoad + 8 * kStationLoad;
constexpr int kSaveAllCalls = (kBoardSave + 1) + 3 * kBoardSave + 8 * kStationSave + kGlobalsSave;
constexpr int kProfileCalls = 8 * kStationProfileCalls;  // in either operation
static_assert(kStationSave == 100 && kLoadAllCalls == 1089 && kSaveAllCalls == 851);

double Microseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

struct Series {
    std::vector<double> times;

    void Time(const std::function<void()>& operation) {
        double start = Microseconds();
        operation();
        times.push_back(Microseconds() - start);
    }
    double Median() const {
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        size_t middle = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }
    double Min() const { return *std::min_element(times.begin(), times.end()); }
    double Max() const { return *std::max_element(times.begin(), times.end()); }
};

std::vector<std::string> Traced(const std::function<void()>& operation) {
    bench::CallTrace trace;
    if (!trace.Start()) return {};
    operation();
    return trace.Stop();
}

int ProfileCalls(const std::vector<std::string>& calls) {
    return static_cast<int>(std::count_if(
        calls.begin(), calls.end(), [](const std::string& line) { return line.rfind("WriteProfileStringA", 0) == 0; }));
}

// Both sides must make the same calls with the same arguments, as many as
// the sources say; otherwise the comparison would time different work.
bool SameCalls(const char* operation, const std::function<void()>& ours, const std::function<void()>& raw,
               int expected) {
    std::vector<std::string> oursCalls = Traced(ours), rawCalls = Traced(raw);
    if (oursCalls.empty()) {
        std::printf("%s: the calls could not be recorded\n", operation);
        return false;
    }
    for (size_t i = 0; i < std::max(oursCalls.size(), rawCalls.size()); ++i) {
        const std::string none = "(no call)";
        const std::string& a = i < oursCalls.size() ? oursCalls[i] : none;
        const std::string& b = i < rawCalls.size() ? rawCalls[i] : none;
        if (a == b) continue;
        std::printf("%s: call %zu differs\n  ours: %s\n  raw:  %s\n", operation, i + 1, a.c_str(), b.c_str());
        return false;
    }
    int profile = ProfileCalls(oursCalls);
    std::printf("%-22s %4zu calls (%zu registry + %d profile), ours and raw identical; counted in config/*.cpp: %d\n",
                operation, oursCalls.size(), oursCalls.size() - profile, profile, expected);
    if (static_cast<int>(oursCalls.size()) != expected || profile != kProfileCalls) {
        std::printf("%s: the count differs from the one in the sources\n", operation);
        return false;
    }
    return true;
}

void PrintRow(const char* operation, int calls, const Series& ours, const Series& raw) {
    char range[2][32];
    std::snprintf(range[0], sizeof range[0], "%.0f..%.0f", ours.Min(), ours.Max());
    std::snprintf(range[1], sizeof range[1], "%.0f..%.0f", raw.Min(), raw.Max());
    std::printf("%-22s %10.0f %10.0f %6.3f %6d   %-16s %s\n", operation, ours.Median(), raw.Median(),
                ours.Median() / raw.Median(), calls, range[0], range[1]);
}

int Usage() {
    std::printf("usage: config_bench [--runs N] [--warmup N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 200, warmup = 5;
    for (int i = 1; i < argc; ++i) {
        if (i + 1 < argc && std::strcmp(argv[i], "--runs") == 0)
            runs = std::atoi(argv[++i]);
        else if (i + 1 < argc && std::strcmp(argv[i], "--warmup") == 0)
            warmup = std::atoi(argv[++i]);
        else
            return Usage();
    }
    if (runs < 1 || warmup < 0) return Usage();
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    // The model's key templates and default texts come from the resource
    // library, as in the control center.
    HMODULE library = LoadLibraryA("ZELTO.DLL");
    if (!library) {
        std::printf("config_bench: ZELTO.DLL must lie beside the program\n");
        return 1;
    }
    AfxSetResourceHandle(library);

    int status = 0;
    {
        bench::BenchInstallation installation;
        SystemConfig config;  // loads, as the main window's model does
        bench::RawConfig raw;
        raw.LoadAll();
        auto oursLoad = [&] { config.LoadAll(); };
        auto rawLoad = [&] { raw.LoadAll(); };
        auto oursSave = [&] { config.SaveAll(); };
        auto rawSave = [&] { raw.SaveAll(); };

        if (!SameCalls("SystemConfig::LoadAll", oursLoad, rawLoad, kLoadAllCalls) ||
            !SameCalls("SystemConfig::SaveAll", oursSave, rawSave, kSaveAllCalls)) {
            status = 1;
        } else {
            Series times[4];
            const std::function<void()> operations[4] = {oursLoad, rawLoad, oursSave, rawSave};
            for (int pair = 0; pair < 4; pair += 2) {
                for (int i = 0; i < warmup; ++i) {
                    operations[pair]();
                    operations[pair + 1]();
                }
                // Taking turns, and turns about which goes first, so a drift
                // of the host weighs on both sides alike.
                for (int i = 0; i < runs; ++i) {
                    int first = pair + i % 2, second = pair + 1 - i % 2;
                    times[first].Time(operations[first]);
                    times[second].Time(operations[second]);
                }
            }
            std::printf("\nMedian of %d runs of each after %d warm-up runs, in microseconds; ratio = ours / raw\n\n",
                        runs, warmup);
            std::printf("%-22s %10s %10s %6s %6s   %-16s %s\n", "operation", "ours", "raw", "ratio", "calls",
                        "ours min..max", "raw min..max");
            PrintRow("SystemConfig::LoadAll", kLoadAllCalls, times[0], times[1]);
            PrintRow("SystemConfig::SaveAll", kSaveAllCalls, times[2], times[3]);
        }
    }

    AfxSetResourceHandle(nullptr);
    FreeLibrary(library);
    return status;
}
