// Removing a user from the host for good: the profile folder with all it
// holds, the password-list file and its entry, and the profile's registry
// entry. The user who runs the control center and users logged on now are
// refused.
#pragma once

#include <string>

class CWnd;

void RemoveUserCommand(CWnd* frame);

// Removes the folder with every file and folder in it (read-only ones too);
// false, with what is already gone staying gone, when something cannot be
// removed. Links to folders are removed as links, never followed.
bool RemoveDirectoryTree(const std::string& path);
