// Splitting a command's arguments into positional words and options, and
// reading the values the commands take. Pure functions, so that every
// refusal can be tested without the registry or the driver.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "outcome.h"

namespace stationctl {

struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // "--name" -> value

    bool Has(const std::string& option) const { return options.count(option) != 0; }
    const std::string* Find(const std::string& option) const;
};

// Every option takes a value, given as "--name VALUE" or "--name=VALUE".
// After "--" every word is positional, so a text that starts with dashes can
// still be passed. Unknown and repeated options are refused.
Outcome ParseCommandLine(const std::vector<std::string>& args, std::initializer_list<std::string_view> options,
                         CommandLine& parsed);

// Refuses fewer than min or more than max positional words.
Outcome ExpectPositionals(const CommandLine& parsed, size_t min, size_t max, std::string_view command);

// Decimal number within [min, max]; no sign, no spaces.
std::optional<int> ParseDecimalInRange(std::string_view text, int min, int max);
// 32-bit value in hexadecimal, with or without "0x".
std::optional<uint32_t> ParseHex32(std::string_view text);
// "0x..." in hexadecimal, otherwise decimal; at most max.
std::optional<uint32_t> ParseNumber(std::string_view text, uint32_t max);
// "0" or "1".
std::optional<bool> ParseFlag(std::string_view text);
// "on" or "off", in any case.
std::optional<bool> ParseSwitch(std::string_view text);
// One letter a to z (either case), as the lower-case slot letter.
std::optional<char> ParseSlotLetter(std::string_view text);

}  // namespace stationctl
