// Shared access to the resource library under test.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace resources_test {

// ZELTO.DLL, loaded by name once, as the control center loads it.
HMODULE Library();

// The text of a string resource, or nothing when the library lacks it.
std::optional<std::string> Text(UINT id);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...);

}  // namespace resources_test
