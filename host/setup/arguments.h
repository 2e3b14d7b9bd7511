// setup.exe's command line: which command, which export for "call", and the
// folders and product type given. Pure, so every refusal is tested without
// a library.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace setup {

enum class Action { kHelp, kInstall, kUninstall, kCall };
enum class Export { kWelcome, kDataMove, kComplete, kUninit, kUnUninit };

struct Invocation {
    Action action = Action::kHelp;
    Export target = Export::kWelcome;  // for kCall
    int productType = 3;
    // Folders as given; the commands fill in the defaults.
    std::optional<std::string> snapshot;
    std::optional<std::string> oldDir;
    std::optional<std::string> installDir;
    std::optional<std::string> source;
    std::optional<std::string> library;
    std::optional<std::string> caption;  // call welcome
    std::optional<std::string> message;  // call welcome
    // call and install: the calls the library makes to change the machine
    // are counted and reported; with stopAt the process ends just before
    // that call.
    bool countCalls = false;
    int stopAt = 0;
};

// args are the words after the program's name. False with error set (one
// line, no usage) when the words make no command.
bool ParseArguments(const std::vector<std::string>& args, Invocation& invocation, std::string& error);

const char* UsageText();

}  // namespace setup
