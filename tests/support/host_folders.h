// The host's own folders as the system and the shell name them, for the
// suites and benches that put files there or keep them.
#pragma once

#include <string>

namespace test_support {

std::string WindowsFolder();
std::string SystemFolder();
// A file or folder of the Windows folder, by its name there.
std::string WindowsFile(const std::string& name);
// The user's start-menu programs folder, as the shell's folder list names
// it; empty when the list names none.
std::string StartMenuProgramsFolder();

}  // namespace test_support
