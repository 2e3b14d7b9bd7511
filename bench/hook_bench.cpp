// hook_bench.exe: Cleanup.dll's data-move, setup-complete and uninstall
// hooks, loaded and called as the setup engine and the uninstaller call
// them, timed on a host laid out at three scales, with the registry, file
// and profile-file calls each makes counted through the library's own
// import table, and timed beside its floor: the same calls recorded and made
// again directly, each checked against the result the hook got. The
// uninstall's questions about the task folders are answered Yes. A console
// program; the host is put back after every run and at the end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "call_replay.h"
#include "corehub_client.h"
#include "file_backup.h"
#include "hook_run_keeper.h"
#include "import_table.h"
#include "large_host.h"
#include "message_box_watcher.h"
#include "program_driver.h"
#include "registry_snapshot.h"
#include "timing.h"

namespace {

using DataMoveHook = bool(WINAPI*)(HWND, const char*, const char*, const char*, const char*, int);
using SetupCompleteHook = bool(WINAPI*)(const char*, const char*, int);
using UninstallHook = LONG(WINAPI*)(HWND, HINSTANCE, LONG);

const char kSnapshotFolder[] = "C:\\windows\\temp";
// No earlier installation: the data move finds nothing to remove there.
const char kOldFolder[] = "C:\\Orvanta Bench Old";
// Zelto KX9: the product whose setup also moves the station printers.
const int kProductCode = 4;
const int kTaskFolders = 8;

using test_support::FileExists;

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what);
}

class Library {
public:
    Library() : module_(LoadLibraryA((test_support::ProgramFolder() + "\\Cleanup.dll").c_str())) {
        if (!module_) Fail("Cleanup.dll did not load");
    }
    ~Library() { FreeLibrary(module_); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    HMODULE Get() const { return module_; }
    template <typename Function>
    Function Export(const char* name) const {
        auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
        if (!function) Fail(std::string("Cleanup.dll does not export ") + name);
        return function;
    }

private:
    HMODULE module_;
};

// The time the uninstall waits for the answers to its questions is the
// user's, not the hook's work: it is clocked in Cleanup.dll's own import of
// MessageBoxA while the bench runs and taken off the hook's time.
class QuestionClock {
public:
    explicit QuestionClock(HMODULE library) : library_(library) {
        if (imports::RedirectModuleImports(library_, kRedirection, 1, true) <= 0)
            Fail("cannot clock Cleanup.dll's questions");
    }
    ~QuestionClock() { imports::RedirectModuleImports(library_, kRedirection, 1, false); }
    QuestionClock(const QuestionClock&) = delete;
    QuestionClock& operator=(const QuestionClock&) = delete;

    static void Reset() { milliseconds = 0; }
    static double Milliseconds() { return milliseconds; }

private:
    static int WINAPI Clocked(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
        bench::Stopwatch watch;
        const int answer = real(owner, text, caption, type);
        milliseconds += watch.Milliseconds();
        return answer;
    }

    static inline decltype(&MessageBoxA) real = nullptr;
    static inline double milliseconds = 0;
    static inline const imports::Redirection kRedirection[] = {
        {"MessageBoxA", reinterpret_cast<void**>(&real), reinterpret_cast<void*>(&Clocked)}};
    HMODULE library_;
};

struct Hook {
    const char* name;
    std::function<void()> prepare;  // before the run, not timed
    std::function<bool()> call;
    std::function<void(test_support::MessageBoxWatcher&)> check;  // after the run, not timed
    bool removesLayout = false;                                   // takes the product's devices and the task folders
};

struct Result {
    int scale = 0;
    const char* hook = "";
    int runs = 0;
    bench::Spread spread;
    bench::Spread floor;   // the same calls made directly
    double questions = 0;  // the median time spent waiting for answers, not counted
    long registryCalls = 0;
    long fileCalls = 0;  // files and profile files
};

bool SameWork(const bench::CallCounts& first, const bench::CallCounts& second) {
    if (first.entries.size() != second.entries.size()) return false;
    for (size_t i = 0; i < first.entries.size(); ++i) {
        if (std::strcmp(first.entries[i].function, second.entries[i].function) != 0 ||
            first.entries[i].calls != second.entries[i].calls)
            return false;
    }
    return true;
}

std::string Describe(const bench::CallCounts& counts) {
    std::string text;
    for (const bench::FunctionCalls& entry : counts.entries)
        text += std::string(" ") + entry.function + "=" + std::to_string(entry.calls) + " (" +
                std::to_string(static_cast<int>(entry.milliseconds)) + " ms)";
    return text;
}

class Bench {
public:
    Bench(const Library& library, test_support::MessageBoxWatcher& boxes) : library_(library), boxes_(boxes) {}

    // One run on the host as laid out, put back afterwards; with a replay,
    // the library's calls are recorded.
    double Run(const Hook& hook, bench::LargeHost& host, bench::CallReplay* record = nullptr) {
        return OnKeptHost(hook, host, [&] {
            if (record && !record->Record(library_.Get())) Fail("cannot record Cleanup.dll's calls");
            QuestionClock::Reset();
            bench::Stopwatch watch;
            const bool done = hook.call();
            const double time = watch.Milliseconds() - QuestionClock::Milliseconds();
            questions_ = QuestionClock::Milliseconds();
            if (record) record->StopRecording();
            if (!done) Fail(std::string(hook.name) + " failed");
            if (hook.check) hook.check(boxes_);
            return time;
        });
    }

    // The recorded calls made again on the host as laid out, put back
    // afterwards: the floor under the hook's time. Every call must get the
    // result the hook's got.
    double Replay(const Hook& hook, bench::LargeHost& host, bench::CallReplay& replay) {
        return OnKeptHost(hook, host, [&] {
            std::string difference;
            bench::Stopwatch watch;
            const long differences = replay.Replay(&difference);
            const double time = watch.Milliseconds();
            if (differences)
                Fail(std::string(hook.name) + ": " + std::to_string(differences) + " of " +
                     std::to_string(replay.Calls()) + " calls made again differed, the first " + difference);
            return time;
        });
    }

    Result Time(const Hook& hook, bench::LargeHost& host, int scale, int runs) {
        Result result;
        result.scale = scale;
        result.hook = hook.name;
        result.runs = runs;
        // A warm-up run takes what the host itself had of the product among
        // the devices (put back only at the end). The first run after it is
        // recorded, the last too, and the two must have done the same work,
        // or a run left the host changed.
        Run(hook, host);
        bench::CallReplay replay, last;
        Run(hook, host, &replay);
        // The hook and its floor take turns.
        std::vector<double> times, floors, questions;
        for (int run = 0; run < runs; ++run) {
            times.push_back(Run(hook, host));
            questions.push_back(questions_);
            floors.push_back(Replay(hook, host, replay));
        }
        Run(hook, host, &last);
        const bench::CallCounts first = replay.Counts(), lastCounts = last.Counts();
        if (!SameWork(first, lastCounts))
            Fail(std::string(hook.name) + ": the runs did not do the same work:" + Describe(first) + " /" +
                 Describe(lastCounts));
        result.spread = bench::SpreadOf(times);
        result.floor = bench::SpreadOf(floors);
        result.questions = bench::SpreadOf(questions).median;
        result.registryCalls = first.Calls(bench::CallKind::kRegistry);
        result.fileCalls = first.Calls(bench::CallKind::kFile) + first.Calls(bench::CallKind::kProfile);
        if (std::getenv("HOOK_BENCH_CALLS")) std::printf("  %s at %d:%s\n", hook.name, scale, Describe(first).c_str());
        return result;
    }

private:
    // Runs the body on the host as laid out and puts the host back.
    template <typename Body>
    double OnKeptHost(const Hook& hook, bench::LargeHost& host, Body body) {
        double time = 0;
        {
            bench::HookRunKeeper keeper;
            if (hook.prepare) hook.prepare();
            boxes_.Clear();
            time = body();
        }
        if (hook.removesLayout) {
            host.PutBackProductDevices();
            host.PutBackTaskFolders();
        }
        return time;
    }

    const Library& library_;
    test_support::MessageBoxWatcher& boxes_;
    double questions_ = 0;  // in the last run
};

std::vector<Hook> Hooks(const Library& library) {
    const auto dataMove = library.Export<DataMoveHook>("IS51_CleanupBeforeDataMove");
    const auto complete = library.Export<SetupCompleteHook>("IS51_CleanupBeforeSetupComplete");
    const auto uninstall = library.Export<UninstallHook>("UninstInitialize");
    return {
        {"data move", nullptr,
         [=] { return dataMove(nullptr, kSnapshotFolder, kOldFolder, nullptr, nullptr, kProductCode); },
         [](test_support::MessageBoxWatcher&) {
             if (!FileExists(SnapshotPath(kSnapshotFolder))) Fail("data move wrote no snapshot");
         }},
        // The snapshot the data move leaves, which this hook imports.
        {"setup complete", [] { SaveRegistrySnapshot(kSnapshotFolder); },
         [=] { return complete(kSnapshotFolder, bench::kBenchInstallFolder, kProductCode); },
         [](test_support::MessageBoxWatcher&) {
             if (FileExists(SnapshotPath(kSnapshotFolder))) Fail("setup complete left the snapshot");
         }},
        {"uninstall", nullptr, [=] { return uninstall(nullptr, nullptr, 0) == 0; },
         [](test_support::MessageBoxWatcher& boxes) {
             if (boxes.Boxes().size() != kTaskFolders)
                 Fail("uninstall asked " + std::to_string(boxes.Boxes().size()) +
                      " questions, not one per task folder");
             if (FileExists(std::string(bench::kBenchInstallFolder) + "\\Station1Tasks"))
                 Fail("uninstall left the task folders");
         },
         true},
    };
}

void PrintTable(const std::vector<Result>& results) {
    std::printf("| scale | hook | runs | median ms | min..max ms | answers ms | floor ms | floor min..max ms | ");
    std::printf("ours/floor | registry calls | file calls |\n");
    std::printf("|---:|---|---:|---:|---|---:|---:|---|---:|---:|---:|\n");
    for (const Result& result : results) {
        std::printf("| %d | %s | %d | %.1f | %.1f..%.1f | %.1f | %.1f | %.1f..%.1f | %.2f | %ld | %ld |\n",
                    result.scale, result.hook, result.runs, result.spread.median, result.spread.min, result.spread.max,
                    result.questions, result.floor.median, result.floor.min, result.floor.max,
                    result.spread.median / result.floor.median, result.registryCalls, result.fileCalls);
    }
}

// How each hook's time grows from the smallest scale to the largest beside
// its calls.
void PrintGrowth(const std::vector<Result>& results) {
    std::printf("\n| hook | scales | time grows | floor grows | calls grow |\n");
    std::printf("|---|---|---:|---:|---:|\n");
    for (const Result& small : results) {
        const Result* large = nullptr;
        for (const Result& other : results) {
            if (std::strcmp(other.hook, small.hook) == 0 && other.scale > small.scale &&
                (!large || other.scale > large->scale))
                large = &other;
        }
        bool smallest = true;
        for (const Result& other : results)
            smallest = smallest && !(std::strcmp(other.hook, small.hook) == 0 && other.scale < small.scale);
        if (!large || !smallest) continue;
        const double calls = static_cast<double>(large->registryCalls + large->fileCalls) /
                             static_cast<double>(small.registryCalls + small.fileCalls);
        std::printf("| %s | %d..%d | x%.2f | x%.2f | x%.2f |\n", small.hook, small.scale, large->scale,
                    large->spread.median / small.spread.median, large->floor.median / small.floor.median, calls);
    }
}

std::vector<int> ParseScales(const char* text) {
    std::vector<int> scales;
    for (const char* at = text; *at;) {
        char* end = nullptr;
        const long scale = std::strtol(at, &end, 10);
        if (end == at || scale < 1) Fail(std::string("bad scale list: ") + text);
        scales.push_back(static_cast<int>(scale));
        at = *end == ',' ? end + 1 : end;
    }
    return scales;
}

}  // namespace

int main(int argc, char** argv) {
    // At the largest scale a run of the uninstall with its restore takes
    // about half a minute, its floor as long.
    int runs = 10;
    std::vector<int> scales = {1, 5, 25};
    try {
        for (int i = 1; i + 1 < argc; i += 2) {
            if (std::strcmp(argv[i], "--runs") == 0) {
                runs = std::atoi(argv[i + 1]);
            } else if (std::strcmp(argv[i], "--scales") == 0) {
                scales = ParseScales(argv[i + 1]);
            } else {
                Fail(std::string("unknown argument ") + argv[i]);
            }
        }
        test_support::CorehubClient driver;
        if (!driver.IsOpen()) Fail("the stand-in driver is not running");
        driver.SetAtStation(false);
        const Library library;
        const QuestionClock questionClock(library.Get());
        test_support::MessageBoxWatcher boxes(GetCurrentProcessId(), IDYES);
        Bench bench(library, boxes);
        const std::vector<Hook> hooks = Hooks(library);
        std::vector<Result> results;
        for (const int scale : scales) {
            bench::Stopwatch layout;
            bench::LargeHost host(scale);
            std::printf("scale %d: %d device keys, %d printers, %d users, %d task files, laid out in %.1f s\n", scale,
                        host.DeviceKeys(), host.Printers(), host.Users(), host.TaskFiles(),
                        layout.Milliseconds() / 1000);
            std::fflush(stdout);
            for (const Hook& hook : hooks) {
                bench::Stopwatch spent;
                results.push_back(bench.Time(hook, host, scale, runs));
                std::printf("  %s: %.1f s with its restores\n", hook.name, spent.Milliseconds() / 1000);
                std::fflush(stdout);
            }
        }
        std::printf("\n");
        PrintTable(results);
        PrintGrowth(results);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "hook_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
