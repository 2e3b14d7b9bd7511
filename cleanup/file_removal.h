// Removing a file or an empty folder when it is there; what cannot be
// removed is reported without a word to the user.
#pragma once

#include <string>

void DeleteIfPresent(const std::string& path);
void RemoveDirIfPresent(const std::string& path);
