// Removing a file or an empty folder when it is there; what cannot be
// removed is reported without a word to the user.
#pragma once

#include <string>

void DeleteIfPresent(const std::string& path);
void RemoveDirIfPresent(const std::string& path);
// A read-only, hidden or system file made a plain one, so that it can be
// replaced or deleted; nothing when there is no such file.
void ClearAttributes(const std::string& path);
