#include "campaign.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "file_backup.h"
#include "message_box_watcher.h"
#include "program_driver.h"
#include "registry_values.h"

namespace robustness {

namespace {

// A line that stands twice counts twice.
std::multiset<std::string> Lines(const std::string& text) {
    std::multiset<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.insert(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Adds the names below the folder to the listing, each folder before what
// it holds, and each file's bytes to the state.
void ListFolder(const std::string& folder, const std::string& relative, std::string& names, HostState& state) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    // In name order, whatever order the file system lists them in.
    std::set<std::pair<std::string, bool>> entries;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            entries.insert({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    for (const auto& [name, isFolder] : entries) {
        const std::string path = folder + "\\" + name, inner = relative + name;
        if (isFolder) {
            names += inner + "\\\n";
            ListFolder(path, inner + "\\", names, state);
        } else {
            names += inner + "\n";
            state[path] = test_support::ReadFileBytes(path);
        }
    }
}

}  // namespace

std::string DataMoveArguments(int productType) {
    return "datamove " + std::to_string(productType) + " \"" + kSnapshotFolder + "\" \"" + kOldFolder + "\"";
}

std::string SetupCompleteArguments(int productType) {
    return "complete " + std::to_string(productType) + " \"" + kSnapshotFolder + "\" \"" + kInstallFolder + "\"";
}

void UseTestInstallation() {
    test_support::PutText(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta", "Install Directory", kInstallFolder);
    test_support::PutText(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta\\Setup", "SystemNameString",
                          "Orvanta Test System");
}

std::pair<uint64_t, uint64_t> Seeds(uint64_t shortLast, uint64_t longLast, std::string& form) {
    char replay[64] = {};
    GetEnvironmentVariableA("ORVANTA_ROBUSTNESS_SEED", replay, sizeof replay);
    if (*replay) {
        form = "replay";
        unsigned long long first = 0, last = 0;
        if (sscanf(replay, "%llu..%llu", &first, &last) == 2) return {first, last};
        first = strtoull(replay, nullptr, 10);
        return {first, first};
    }
    form = LongForm() ? "long" : "short";
    return {1, LongForm() ? longLast : shortLast};
}

bool LongForm() {
    char value[16] = {};
    GetEnvironmentVariableA("ORVANTA_ROBUSTNESS", value, sizeof value);
    return std::string(value) == "long";
}

HookRun RunHook(const std::string& arguments, bool countCalls, int stopAt) {
    return RunSetup("call " + arguments, countCalls, stopAt);
}

HookRun RunSetup(const std::string& arguments, bool countCalls, int stopAt) {
    std::string command = arguments;
    if (countCalls) command += " --count-calls yes";
    if (stopAt > 0) command += " --stop-at " + std::to_string(stopAt);
    HookRun run;
    // Under load the host now and then refuses to start a program at all;
    // that is not the hook's doing, so the start is tried again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        test_support::Program setup(test_support::ProgramFolder() + "\\setup.exe", command, "", true);
        if (!setup.Started()) {
            Sleep(200);
            continue;
        }
        test_support::MessageBoxWatcher boxes(setup.Id(), IDYES);
        setup.WaitForExit(120000, &run.exitCode);
        run.output = setup.Output();
        break;
    }
    const size_t calls = run.output.rfind("calls: ");
    if (calls != std::string::npos) run.calls = std::atoi(run.output.c_str() + calls + 7);
    return run;
}

std::set<std::string> ProfileSections(const std::string& file) {
    std::vector<char> names(1 << 16);
    DWORD length = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), file.c_str());
    std::set<std::string> sections;
    for (const char* name = names.data(); name < names.data() + length && *name; name += strlen(name) + 1) {
        std::string lower = name;
        CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
        sections.insert(lower);
    }
    return sections;
}

void CaptureFolder(const std::string& folder, HostState& state) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        state[folder] = "(none)";
        return;
    }
    std::string names;
    ListFolder(folder, "", names, state);
    state[folder] = names;
}

std::vector<std::string> Differences(const HostState& expected, const HostState& found) {
    std::vector<std::string> places;
    for (const auto& [place, content] : expected) {
        auto other = found.find(place);
        const std::string now = other == found.end() ? "" : other->second;
        if (now == content) continue;
        std::string shown = place;
        const std::multiset<std::string> want = Lines(content), have = Lines(now);
        std::vector<std::string> missing, added;
        std::set_difference(want.begin(), want.end(), have.begin(), have.end(), std::back_inserter(missing));
        std::set_difference(have.begin(), have.end(), want.begin(), want.end(), std::back_inserter(added));
        for (size_t i = 0; i < missing.size() && i < 4; ++i) shown += "\n    expected: " + missing[i].substr(0, 160);
        for (size_t i = 0; i < added.size() && i < 4; ++i) shown += "\n    found:    " + added[i].substr(0, 160);
        places.push_back(shown);
    }
    return places;
}

std::string BeforeEndMark(const std::string& text) {
    return text.substr(0, text.find('\x1A'));
}

std::string FromEndMark(const std::string& text) {
    const size_t mark = text.find('\x1A');
    return mark == std::string::npos ? "" : text.substr(mark);
}

std::string Normalized(const std::string& line) {
    std::string normalized;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') continue;
        normalized += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return normalized;
}

}  // namespace robustness
