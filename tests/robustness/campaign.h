// What the robustness campaigns share: the long form's switch, setup.exe
// running one hook of Cleanup.dll, and the comparisons of what a host holds.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace robustness {

// ORVANTA_ROBUSTNESS=long: every point and a few hundred cases instead of a
// sample.
bool LongForm();

struct HookRun {
    DWORD exitCode = 0xFFFF;  // this when setup did not end in time
    int calls = 0;            // the calls counted, when asked for
    std::string output;
};
// Runs setup.exe's "call" with the arguments, its questions answered with
// Yes; with countCalls its calls that change the machine are counted, and
// with stopAt > 0 it ends itself just before that call.
HookRun RunHook(const std::string& arguments, bool countCalls = false, int stopAt = 0);

// The section names of a profile file, in lower case.
std::set<std::string> ProfileSections(const std::string& file);

// What a host holds, by place (a file, a registry branch).
using HostState = std::map<std::string, std::string>;
// Each place whose content differs, with a few of the lines that only one
// side has.
std::vector<std::string> Differences(const HostState& expected, const HostState& found);

}  // namespace robustness
