#include "arguments.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>

namespace setup {

namespace {

const char kUsage[] =
    "usage: setup install [--type N] [--snapshot DIR] [--old DIR] [--dir DIR] [--source DIR]\n"
    "                     [--library PATH] [--count-calls yes] [--stop-at K]\n"
    "       setup uninstall [--library PATH]\n"
    "       setup call welcome TYPE [CAPTION MESSAGE] [--library PATH]\n"
    "       setup call datamove TYPE SNAPSHOT OLDDIR [--library PATH]\n"
    "       setup call complete TYPE SNAPSHOT DIR [--library PATH]\n"
    "       setup call uninit|ununinit [--library PATH]\n"
    "       (each call, and install over all its hooks, also takes --count-calls yes\n"
    "       and --stop-at K)\n"
    "\n"
    "The setup engine and uninstaller of the Orvanta products, around Cleanup.dll\n"
    "(default: the one beside setup.exe).\n"
    "\n"
    "install     the welcome hook (setup stops when it says no), the data-move hook, copies\n"
    "            zelto.exe, ZELTO.DLL, zelto.htm and (when there) Cleanup.dll from the\n"
    "            source folder into the installation folder, records the product\n"
    "            under HKLM\\Software\\Quillon\\Orvanta, the setup-complete hook.\n"
    "  --type N        product type 0 to 255 (default 3, Zelto KX4; 1 Orvanta\n"
    "                  Ensemble, 2 Orvanta Zq, 4 Zelto KX9)\n"
    "  --snapshot DIR  the snapshot folder (default: the Windows temporary folder)\n"
    "  --old DIR       the old installation (default: the recorded \"Install\n"
    "                  Directory\", else the new folder)\n"
    "  --dir DIR       the installation folder (default C:\\Program Files\\Orvanta)\n"
    "  --source DIR    where the product's files are (default: setup.exe's folder)\n"
    "uninstall   UninstInitialize (the uninstall stops when it answers -1), removes\n"
    "            the files from the recorded \"Install Directory\" (and the folder\n"
    "            when empty) and the product key, UninstUnInitialize.\n"
    "call        calls one export as the engine would, with the arguments as given,\n"
    "            and prints \"result: N\" (0 or 1 for the hooks, from the result's\n"
    "            low byte). CAPTION and MESSAGE default to setup's own.\n"
    "  --count-calls yes  counts the calls the library makes to change files, the\n"
    "                  registry, the profile files and processes; prints \"calls: N\"\n"
    "  --stop-at K     ends setup at once just before the K-th such call, as a crash\n"
    "                  or a power cut would (exit code 9)\n"
    "\n"
    "Folders are handed to the library without a trailing backslash. Options take\n"
    "their value as --name VALUE or --name=VALUE; after -- every word is an\n"
    "argument. Exit codes: 0 done; 1 the library stopped setup or the uninstall;\n"
    "2 bad arguments; 3 the library or an export cannot be loaded; 4 a step failed.\n";

// A signed 32-bit decimal number, nothing else.
std::optional<int> ParseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT_MIN || value > INT_MAX || text[0] == ' ' || text[0] == '+')
        return std::nullopt;
    return static_cast<int>(value);
}

struct Words {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
};

bool SplitWords(const std::vector<std::string>& args, const std::vector<std::string>& allowed, Words& words,
                std::string& error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word.rfind("--", 0) != 0) {
            words.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        size_t equals = word.find('=');
        std::string name = word.substr(0, equals);
        bool known = false;
        for (const std::string& option : allowed) known = known || option == name;
        if (!known) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (words.options.count(name)) {
            error = "option " + name + " given twice";
            return false;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = "option " + name + " needs a value";
            return false;
        }
        if (value.empty()) {
            error = "option " + name + " needs a value";
            return false;
        }
        words.options[name] = value;
    }
    return true;
}

std::optional<std::string> Option(const Words& words, const char* name) {
    auto found = words.options.find(name);
    if (found == words.options.end()) return std::nullopt;
    return found->second;
}

bool ParseCall(const Words& words, Invocation& invocation, std::string& error) {
    const std::vector<std::string>& p = words.positional;
    if (p.empty()) {
        error = "call: say which export: welcome, datamove, complete, uninit or ununinit";
        return false;
    }
    const std::string& name = p[0];
    size_t expected = 0, alternative = 0;
    if (name == "welcome") {
        invocation.target = Export::kWelcome;
        expected = 2;
        alternative = 4;
    } else if (name == "datamove") {
        invocation.target = Export::kDataMove;
        expected = alternative = 4;
    } else if (name == "complete") {
        invocation.target = Export::kComplete;
        expected = alternative = 4;
    } else if (name == "uninit") {
        invocation.target = Export::kUninit;
        expected = alternative = 1;
    } else if (name == "ununinit") {
        invocation.target = Export::kUnUninit;
        expected = alternative = 1;
    } else {
        error = "call: unknown export '" + name + "' (welcome, datamove, complete, uninit or ununinit)";
        return false;
    }
    if (p.size() != expected && p.size() != alternative) {
        error = "call " + name + ": wrong number of arguments";
        return false;
    }
    if (expected > 1) {
        auto type = ParseInteger(p[1]);
        if (!type) {
            error = "call " + name + ": TYPE must be a whole number, not '" + p[1] + "'";
            return false;
        }
        invocation.productType = *type;
    }
    if (invocation.target == Export::kWelcome && p.size() == 4) {
        invocation.caption = p[2];
        invocation.message = p[3];
    } else if (invocation.target == Export::kDataMove) {
        invocation.snapshot = p[2];
        invocation.oldDir = p[3];
    } else if (invocation.target == Export::kComplete) {
        invocation.snapshot = p[2];
        invocation.installDir = p[3];
    }
    return true;
}

// --count-calls and --stop-at, for "call" and "install".
bool ParseCallWatch(const Words& words, const std::string& command, Invocation& invocation, std::string& error) {
    if (auto count = Option(words, "--count-calls")) {
        if (*count != "yes" && *count != "no") {
            error = command + ": --count-calls is yes or no, not '" + *count + "'";
            return false;
        }
        invocation.countCalls = *count == "yes";
    }
    if (auto stop = Option(words, "--stop-at")) {
        auto value = ParseInteger(*stop);
        if (!value || *value < 1) {
            error = command + ": --stop-at must be a call number from 1, not '" + *stop + "'";
            return false;
        }
        invocation.countCalls = true;
        invocation.stopAt = *value;
    }
    return true;
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& args, Invocation& invocation, std::string& error) {
    invocation = Invocation{};
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        if (args.size() != 1) {
            error = "help takes no arguments";
            return false;
        }
        invocation.action = Action::kHelp;
        return true;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    Words words;
    if (command == "install") {
        invocation.action = Action::kInstall;
        if (!SplitWords(
                rest, {"--type", "--snapshot", "--old", "--dir", "--source", "--library", "--count-calls", "--stop-at"},
                words, error) ||
            !ParseCallWatch(words, command, invocation, error))
            return false;
        if (!words.positional.empty()) {
            error = "install: unexpected argument '" + words.positional[0] + "'";
            return false;
        }
        if (auto type = Option(words, "--type")) {
            auto value = ParseInteger(*type);
            if (!value || *value < 0 || *value > 255) {
                error = "install: --type must be a number from 0 to 255, not '" + *type + "'";
                return false;
            }
            invocation.productType = *value;
        }
        invocation.snapshot = Option(words, "--snapshot");
        invocation.oldDir = Option(words, "--old");
        invocation.installDir = Option(words, "--dir");
        invocation.source = Option(words, "--source");
        invocation.library = Option(words, "--library");
        return true;
    }
    if (command == "uninstall") {
        invocation.action = Action::kUninstall;
        if (!SplitWords(rest, {"--library"}, words, error)) return false;
        if (!words.positional.empty()) {
            error = "uninstall: unexpected argument '" + words.positional[0] + "'";
            return false;
        }
        invocation.library = Option(words, "--library");
        return true;
    }
    if (command == "call") {
        invocation.action = Action::kCall;
        if (!SplitWords(rest, {"--library", "--count-calls", "--stop-at"}, words, error)) return false;
        invocation.library = Option(words, "--library");
        return ParseCallWatch(words, command, invocation, error) && ParseCall(words, invocation, error);
    }
    error = "unknown command '" + command + "'";
    return false;
}

const char* UsageText() {
    return kUsage;
}

}  // namespace setup
