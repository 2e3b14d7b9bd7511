// Paths formed from what the registry or the setup engine says. A deletion
// must stay inside the folder it is meant for, so a folder is only used when
// it is a full path without "." or ".." parts, and a name appended to it
// only when it is a plain name or a path of plain names.
#pragma once

#include <string>

// "C:\..." or "\\server\share\...", no part "." or "..".
bool IsFullFolderPath(const std::string& folder);
// One path part: not blank (empty, or only white space and dots), no "\",
// "/" or ":".
bool IsPlainName(const std::string& name);
// One plain name or several joined by backslashes: a path that stays below
// the folder it is appended to.
bool IsInnerPath(const std::string& path);
// The folder without a trailing backslash, then "\" and the name.
std::string JoinPath(const std::string& folder, const std::string& name);
