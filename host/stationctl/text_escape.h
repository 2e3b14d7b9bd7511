// Texts on the command line and on the screen. A shell makes line feeds
// awkward to type, so message texts take "\n"; and what a station shows is
// printed one text per line, so control characters in it are spelt out.
#pragma once

#include <string>
#include <string_view>

namespace stationctl {

// "\n" becomes a line feed and "\\" one backslash; any other backslash stays
// as it is, so a path such as C:\temp needs no doubling.
std::string UnescapeText(std::string_view text);

// The text on one line: backslash as "\\", line feed as "\n", carriage
// return as "\r", tab as "\t", other control characters as "\xHH".
std::string EscapeForLine(std::string_view text);

}  // namespace stationctl
