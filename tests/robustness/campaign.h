// What the robustness campaigns share: the long form's switch, setup.exe
// running one hook of Cleanup.dll, and the comparisons of what a host holds.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace robustness {

// ORVANTA_ROBUSTNESS=long: every point and a few hundred cases instead of a
// sample.
bool LongForm();
// The seeds a campaign tries: ORVANTA_ROBUSTNESS_SEED (N or A..B) in the form
// "replay", else 1 to shortLast ("short") or, in the long form, 1 to
// longLast ("long").
std::pair<uint64_t, uint64_t> Seeds(uint64_t shortLast, uint64_t longLast, std::string& form);

// The folders the hooks are handed: the snapshot's, and an old and a new
// installation of the tests' own.
inline constexpr char kSnapshotFolder[] = "C:\\windows\\temp";
inline constexpr char kOldFolder[] = "C:\\Orvanta Old Test";
inline constexpr char kInstallFolder[] = "C:\\Orvanta Test";
// setup.exe's "call" arguments for the data-move and setup-complete hooks.
std::string DataMoveArguments(int productType);
std::string SetupCompleteArguments(int productType);
// Points the removal at the tests' own installation and system name, as the
// suites of the library do, so the host's own stay whatever a hook does.
void UseTestInstallation();

struct HookRun {
    DWORD exitCode = 0xFFFF;  // this when setup did not end in time
    int calls = 0;            // the calls counted, when asked for
    std::string output;
};
// Runs setup.exe's "call" with the arguments, its questions answered with
// Yes; with countCalls its calls that change the machine are counted, and
// with stopAt > 0 it ends itself just before that call.
HookRun RunHook(const std::string& arguments, bool countCalls = false, int stopAt = 0);
// The same for any of setup.exe's commands ("install ...", "uninstall").
HookRun RunSetup(const std::string& arguments, bool countCalls = false, int stopAt = 0);

// The section names of a profile file, in lower case.
std::set<std::string> ProfileSections(const std::string& file);

// A boot file's text as DOS reads it: up to its first end-of-file mark
// (Ctrl-Z); and the mark with all that follows it, empty without one.
std::string BeforeEndMark(const std::string& text);
std::string FromEndMark(const std::string& text);
// A line without its blanks, in lower case: a driver line is found however
// it is spelt.
std::string Normalized(const std::string& line);

// What a host holds, by place (a file, a registry branch).
using HostState = std::map<std::string, std::string>;
// A folder's content, as places of a HostState: under the folder's own path
// the names of everything in it (a folder's ending in a backslash), one a
// line, or "(none)" when it is not there; under each file's path its bytes.
void CaptureFolder(const std::string& folder, HostState& state);
// Each place whose content differs, with a few of the lines that only one
// side has, or has more often.
std::vector<std::string> Differences(const HostState& expected, const HostState& found);

}  // namespace robustness
