// board, station and restart: the values the hardware leaves in the registry
// for the control center, which reads them but never writes them.
#include <cstdio>
#include <optional>

#include "arguments.h"
#include "command_handlers.h"
#include "config_manager.h"
#include "registry_key.h"
#include "registry_paths.h"

namespace stationctl {

namespace {

Outcome KeyFailure(const char* verb, const std::string& path, LONG error) {
    return Outcome::Failed(std::string("cannot ") + verb + " HKLM\\" + path + ": " + ErrorText(error));
}

std::string ByteText(const RegKey& key, const char* name) {
    auto value = key.QueryNumber(name);
    return value ? std::to_string(*value) : "(absent)";
}

// Reads a 0|1 option into flag; absent options stay unset.
Outcome TakeFlag(const CommandLine& parsed, const char* option, std::optional<bool>& flag) {
    const std::string* text = parsed.Find(option);
    if (!text) return Outcome::Success();
    flag = ParseFlag(*text);
    if (!flag) return Outcome::BadArguments(std::string(option) + " must be 0 or 1, not '" + *text + "'");
    return Outcome::Success();
}

Outcome TakeKeyNumber(const CommandLine& parsed, const char* command, int max, int& number) {
    auto value = ParseDecimalInRange(parsed.positional[0], 1, max);
    if (!value)
        return Outcome::BadArguments(std::string(command) + " number must be 1 to " + std::to_string(max) + ", not '" +
                                     parsed.positional[0] + "'");
    number = *value;
    return Outcome::Success();
}

}  // namespace

Outcome RunBoard(const Arguments& args, std::ostream& out) {
    CommandLine parsed;
    Outcome outcome = ParseCommandLine(args, {"--name", "--detected"}, parsed);
    if (outcome.ok()) outcome = ExpectPositionals(parsed, 1, 1, "board");
    int number = 0;
    if (outcome.ok()) outcome = TakeKeyNumber(parsed, "board", kBoardCount, number);
    std::optional<bool> detected;
    if (outcome.ok()) outcome = TakeFlag(parsed, "--detected", detected);
    if (!outcome.ok()) return outcome;

    const std::string path = BoardKey(number);
    RegKey key;
    if (parsed.options.empty()) {
        LONG error = key.Open(HKEY_LOCAL_MACHINE, path);
        if (error != ERROR_SUCCESS) return KeyFailure("open", path, error);
        auto name = key.QueryString("Board Name");
        out << "Board Name: " << (name ? *name : "(absent)") << "\n";
        out << "Detected: " << ByteText(key, "Detected") << "\n";
        return Outcome::Success();
    }
    LONG error = key.Create(HKEY_LOCAL_MACHINE, path);
    if (error == ERROR_SUCCESS && parsed.Has("--name")) error = key.SetString("Board Name", *parsed.Find("--name"));
    if (error == ERROR_SUCCESS && detected) error = key.SetByte("Detected", *detected ? 1 : 0);
    if (error != ERROR_SUCCESS) return KeyFailure("write", path, error);
    return Outcome::Success();
}

Outcome RunStation(const Arguments& args, std::ostream& out) {
    static const struct {
        const char* option;
        const char* value;
    } kFlags[] = {{"--detected", "Detected"},
                  {"--base-init", "Zq Base Init"},
                  {"--keyboard-init", "Zq Keyboard Init"},
                  {"--mouse-init", "Zq Mouse Init"}};
    CommandLine parsed;
    Outcome outcome =
        ParseCommandLine(args, {"--detected", "--base-init", "--keyboard-init", "--mouse-init", "--io-handle"}, parsed);
    if (outcome.ok()) outcome = ExpectPositionals(parsed, 1, 1, "station");
    int number = 0;
    if (outcome.ok()) outcome = TakeKeyNumber(parsed, "station", 8, number);
    std::optional<bool> flags[4];
    for (int i = 0; i < 4 && outcome.ok(); ++i) outcome = TakeFlag(parsed, kFlags[i].option, flags[i]);
    std::optional<uint32_t> ioHandle;
    if (outcome.ok() && parsed.Has("--io-handle")) {
        ioHandle = ParseHex32(*parsed.Find("--io-handle"));
        if (!ioHandle)
            outcome = Outcome::BadArguments("--io-handle must be a 32-bit hexadecimal number, not '" +
                                            *parsed.Find("--io-handle") + "'");
    }
    if (!outcome.ok()) return outcome;

    const std::string path = StationKey(number);
    RegKey key;
    if (parsed.options.empty()) {
        LONG error = key.Open(HKEY_LOCAL_MACHINE, path);
        if (error != ERROR_SUCCESS) return KeyFailure("open", path, error);
        for (const auto& flag : kFlags) out << flag.value << ": " << ByteText(key, flag.value) << "\n";
        auto handle = key.QueryNumber("IO Handle");
        char text[16] = "(absent)";
        if (handle) std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(*handle));
        out << "IO Handle: " << text << "\n";
        return Outcome::Success();
    }
    LONG error = key.Create(HKEY_LOCAL_MACHINE, path);
    for (int i = 0; i < 4 && error == ERROR_SUCCESS; ++i) {
        if (flags[i]) error = key.SetByte(kFlags[i].value, *flags[i] ? 1 : 0);
    }
    if (error == ERROR_SUCCESS && ioHandle) error = key.SetDword("IO Handle", *ioHandle);
    if (error != ERROR_SUCCESS) return KeyFailure("write", path, error);
    return Outcome::Success();
}

Outcome RunRestart(const Arguments& args, std::ostream& out) {
    CommandLine parsed;
    Outcome outcome = ParseCommandLine(args, {}, parsed);
    if (outcome.ok()) outcome = ExpectPositionals(parsed, 0, 0, "restart");
    std::vector<PresentDevice> devices;
    if (outcome.ok()) outcome = FindPresentDevices(devices);
    if (outcome.ok()) outcome = RebuildConfigManagerEnum(devices);
    if (!outcome.ok()) return outcome;
    for (const PresentDevice& device : devices) out << device.nodeName << " " << device.hardwareKey << "\n";
    return Outcome::Success();
}

}  // namespace stationctl
