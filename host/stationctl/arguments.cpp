#include "arguments.h"

#include <algorithm>

namespace stationctl {

const std::string* CommandLine::Find(const std::string& option) const {
    auto found = options.find(option);
    return found == options.end() ? nullptr : &found->second;
}

Outcome ParseCommandLine(const std::vector<std::string>& args, std::initializer_list<std::string_view> options,
                         CommandLine& parsed) {
    parsed = {};
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word.size() < 3 || word.compare(0, 2, "--") != 0) {
            if (!optionsEnded && word == "--") {
                optionsEnded = true;
                continue;
            }
            parsed.positional.push_back(word);
            continue;
        }
        std::string name = word;
        std::optional<std::string> value;
        if (size_t equals = word.find('='); equals != std::string::npos) {
            name = word.substr(0, equals);
            value = word.substr(equals + 1);
        }
        if (std::find(options.begin(), options.end(), std::string_view(name)) == options.end())
            return Outcome::BadArguments("unknown option " + name);
        if (!value) {
            if (i + 1 >= args.size()) return Outcome::BadArguments("option " + name + " needs a value");
            value = args[++i];
        }
        if (!parsed.options.emplace(name, *value).second)
            return Outcome::BadArguments("option " + name + " is given twice");
    }
    return Outcome::Success();
}

Outcome ExpectPositionals(const CommandLine& parsed, size_t min, size_t max, std::string_view command) {
    size_t count = parsed.positional.size();
    if (count < min)
        return Outcome::BadArguments(std::string(command) + ": missing argument (see: help " + std::string(command) +
                                     ")");
    if (count > max)
        return Outcome::BadArguments(std::string(command) + ": unexpected argument '" + parsed.positional[max] + "'");
    return Outcome::Success();
}

namespace {

std::optional<uint64_t> Digits(std::string_view text, unsigned base, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

bool HasHexPrefix(std::string_view text) {
    return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

}  // namespace

std::optional<int> ParseDecimalInRange(std::string_view text, int min, int max) {
    // Ten digits cannot overflow 64 bits, and no value we take is longer.
    auto value = Digits(text, 10, 10);
    if (!value || *value < static_cast<uint64_t>(std::max(min, 0)) || *value > static_cast<uint64_t>(max))
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<uint32_t> ParseHex32(std::string_view text) {
    if (HasHexPrefix(text)) text.remove_prefix(2);
    // Leading zeros do not change the value, so they do not count as width.
    while (text.size() > 8 && text.front() == '0') text.remove_prefix(1);
    auto value = Digits(text, 16, 8);
    if (!value) return std::nullopt;
    return static_cast<uint32_t>(*value);
}

std::optional<uint32_t> ParseNumber(std::string_view text, uint32_t max) {
    std::optional<uint64_t> value;
    if (HasHexPrefix(text)) {
        auto hex = ParseHex32(text);
        if (hex) value = *hex;
    } else {
        value = Digits(text, 10, 10);
    }
    if (!value || *value > max) return std::nullopt;
    return static_cast<uint32_t>(*value);
}

std::optional<bool> ParseFlag(std::string_view text) {
    if (text == "0") return false;
    if (text == "1") return true;
    return std::nullopt;
}

std::optional<bool> ParseSwitch(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    if (lower == "on") return true;
    if (lower == "off") return false;
    return std::nullopt;
}

std::optional<char> ParseSlotLetter(std::string_view text) {
    if (text.size() != 1) return std::nullopt;
    char c = text[0];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c < 'a' || c > 'z') return std::nullopt;
    return c;
}

}  // namespace stationctl
