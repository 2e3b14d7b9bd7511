// snapshot_bench.exe: the data-move hook's registry snapshot against the
// registry editor's own export of the same keys, and the setup-complete
// hook's import of that snapshot against the editor importing its own
// export, on the product's branch at three sizes. A console program; the
// host's branch and port keys are put back at the end.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "call_replay.h"
#include "file_backup.h"
#include "host_folders.h"
#include "registry_snapshot.h"
#include "scaled_branch.h"
#include "timing.h"

namespace {

using test_support::FileExists;

const int kScales[] = {1, 5, 25};
const char kEditorKeys[][64] = {"HKEY_LOCAL_MACHINE\\Software\\Quillon\\Orvanta",
                                "HKEY_LOCAL_MACHINE\\Enum\\Root\\Ternway"};

// The editor started hidden and waited for, as the import starts it; false
// when it could not start or failed.
bool RunEditor(const std::string& arguments) {
    std::string command = test_support::WindowsFile("regedit.exe") + " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    DWORD exitCode = 1;
    const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended && exitCode == 0;
}

class Bench {
public:
    explicit Bench(const std::string& folder) : folder_(folder) {
        for (int i = 0; i < 2; ++i) exports_.push_back(folder + "\\editor" + std::to_string(i + 1) + ".reg");
    }

    // Our snapshot, from no file to the file in place.
    double Snapshot() {
        DeleteFileA(SnapshotPath(folder_).c_str());
        bench::Stopwatch watch;
        SaveRegistrySnapshot(folder_);
        const double time = watch.Milliseconds();
        if (!FileExists(SnapshotPath(folder_))) Fail("SaveRegistrySnapshot wrote no snapshot");
        return time;
    }

    // The editor's export of the product key and of the port keys.
    double EditorExport() {
        for (const std::string& file : exports_) DeleteFileA(file.c_str());
        bench::Stopwatch watch;
        bool done = true;
        for (int i = 0; i < 2; ++i) done = RunEditor("/e \"" + exports_[i] + "\" \"" + kEditorKeys[i] + "\"") && done;
        const double time = watch.Milliseconds();
        if (!done || !FileExists(exports_[0]) || !FileExists(exports_[1])) Fail("regedit /e failed");
        return time;
    }

    // The setup-complete hook's import, which deletes the snapshot once the
    // editor is done with it.
    double Import() {
        if (!FileExists(SnapshotPath(folder_))) SaveRegistrySnapshot(folder_);
        bench::Stopwatch watch;
        ImportRegistrySnapshot(folder_);
        const double time = watch.Milliseconds();
        if (FileExists(SnapshotPath(folder_))) Fail("ImportRegistrySnapshot left the snapshot: the import did not end");
        return time;
    }

    // The editor importing the two files it exported.
    double EditorImport() {
        if (!FileExists(exports_[0]) || !FileExists(exports_[1])) EditorExport();
        bench::Stopwatch watch;
        bool done = true;
        for (const std::string& file : exports_) done = RunEditor("-s \"" + file + "\"") && done;
        const double time = watch.Milliseconds();
        if (!done) Fail("regedit -s failed");
        return time;
    }

    // One more snapshot, with its calls counted and timed.
    // The snapshot is linked into this program, so its own imports are
    // the ones counted.
    std::vector<bench::FunctionCalls> CountedSnapshot() {
        DeleteFileA(SnapshotPath(folder_).c_str());
        bench::CallReplay recording;
        if (!recording.Record(GetModuleHandleA(nullptr))) Fail("cannot count the snapshot's calls");
        SaveRegistrySnapshot(folder_);
        recording.StopRecording();
        return recording.Counts().entries;
    }

    // What the editor exports now, both keys in one text.
    std::string Exported() {
        EditorExport();
        return test_support::ReadFileBytes(exports_[0]) + test_support::ReadFileBytes(exports_[1]);
    }

    void Clean() {
        DeleteFileA(SnapshotPath(folder_).c_str());
        for (const std::string& file : exports_) DeleteFileA(file.c_str());
    }

private:
    // Thrown rather than exiting, so the host's branch is still put back.
    [[noreturn]] static void Fail(const char* what) { throw std::runtime_error(what); }

    std::string folder_;
    std::vector<std::string> exports_;
};

void PrintRow(int scale, const char* operation, int runs, const bench::Spread& spread, const bench::Spread* editor) {
    char ratio[16] = "";
    if (editor) std::snprintf(ratio, sizeof ratio, "%.2f", spread.median / editor->median);
    std::printf("| %d | %s | %d | %.1f | %.1f..%.1f | %s |\n", scale, operation, runs, spread.median, spread.min,
                spread.max, ratio);
}

// Each pair runs in turns, the first of the pair changing every run, after a
// warm-up of each.
template <typename Ours, typename Theirs>
void TimePair(int runs, Ours ours, Theirs theirs, std::vector<double>& ourTimes, std::vector<double>& theirTimes) {
    ours();
    theirs();
    for (int run = 0; run < runs; ++run) {
        if (run % 2) {
            theirTimes.push_back(theirs());
            ourTimes.push_back(ours());
        } else {
            ourTimes.push_back(ours());
            theirTimes.push_back(theirs());
        }
    }
}

using Tallies = std::vector<std::pair<int, std::vector<bench::FunctionCalls>>>;

// One scale: the branch laid out, both pairs timed, the rows printed and one
// snapshot's calls counted.
void TimeScale(int scale, int runs, bench::ScaledBranch& branch, Bench& bench, Tallies& tallies) {
    branch.Fill(scale);
    std::fprintf(stderr, "scale %d: %d keys, %d values\n", scale, branch.Keys(), branch.Values());
    const std::string before = bench.Exported();

    std::vector<double> snapshot, editorExport, import, editorImport;
    TimePair(
        runs, [&] { return bench.Snapshot(); }, [&] { return bench.EditorExport(); }, snapshot, editorExport);
    TimePair(
        runs, [&] { return bench.Import(); }, [&] { return bench.EditorImport(); }, import, editorImport);
    // Both imports write back what was there: the branch must be as before.
    if (bench.Exported() != before) throw std::runtime_error("the imports changed the branch");

    const bench::Spread exportSpread = bench::SpreadOf(editorExport),
                        editorImportSpread = bench::SpreadOf(editorImport);
    PrintRow(scale, "snapshot: `SaveRegistrySnapshot`", runs, bench::SpreadOf(snapshot), &exportSpread);
    PrintRow(scale, "editor: `regedit /e` of the two keys", runs, exportSpread, nullptr);
    PrintRow(scale, "import: `ImportRegistrySnapshot` (`regedit -s`)", runs, bench::SpreadOf(import),
             &editorImportSpread);
    PrintRow(scale, "editor: `regedit -s` of its two files", runs, editorImportSpread, nullptr);
    std::fflush(stdout);
    tallies.emplace_back(scale, bench.CountedSnapshot());
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs")) runs = std::max(1, std::atoi(argv[i + 1]));
    }
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "OrvantaSnapshotBench";
    CreateDirectoryA(folder.c_str(), nullptr);

    int status = 0;
    {
        bench::ScaledBranch branch;
        Bench bench(folder);
        Tallies tallies;
        std::printf("| scale | operation | runs | median ms | min..max ms | ours/editor |\n");
        std::printf("|---:|---|---:|---:|---|---:|\n");
        try {
            for (int scale : kScales) TimeScale(scale, runs, branch, bench, tallies);
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "snapshot_bench: %s\n", failure.what());
            status = 1;
        }

        // Where one snapshot's time goes: the calls it makes, with their time.
        std::printf("\n| scale | function | calls in one snapshot | ms inside |\n|---:|---|---:|---:|\n");
        for (const auto& [scale, counted] : tallies) {
            for (const bench::FunctionCalls& each : counted)
                std::printf("| %d | `%s` | %ld | %.1f |\n", scale, each.function, each.calls, each.milliseconds);
        }
        bench.Clean();
    }
    RemoveDirectoryA(folder.c_str());
    return status;
}
