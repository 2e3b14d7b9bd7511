#include "campaign.h"

#include <cstdlib>
#include <cstring>

#include "message_box_watcher.h"
#include "program_driver.h"
#include "registry_values.h"

namespace robustness {

namespace {

std::set<std::string> Lines(const std::string& text) {
    std::set<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.insert(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
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

bool LongForm() {
    char value[16] = {};
    GetEnvironmentVariableA("ORVANTA_ROBUSTNESS", value, sizeof value);
    return std::string(value) == "long";
}

HookRun RunHook(const std::string& arguments, bool countCalls, int stopAt) {
    std::string command = "call " + arguments;
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

std::vector<std::string> Differences(const HostState& expected, const HostState& found) {
    std::vector<std::string> places;
    for (const auto& [place, content] : expected) {
        auto other = found.find(place);
        const std::string now = other == found.end() ? "" : other->second;
        if (now == content) continue;
        std::string shown = place;
        const std::set<std::string> want = Lines(content), have = Lines(now);
        int listed = 0;
        for (const std::string& line : want)
            if (!have.count(line) && listed++ < 4) shown += "\n    expected: " + line.substr(0, 160);
        listed = 0;
        for (const std::string& line : have)
            if (!want.count(line) && listed++ < 4) shown += "\n    found:    " + line.substr(0, 160);
        places.push_back(shown);
    }
    return places;
}

}  // namespace robustness
