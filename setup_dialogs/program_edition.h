// The two-board edition of the control center is told apart by the name of
// its program file.
#pragma once

#include <string>

// Whether a program file's name, without folder and extension and taken
// without regard to case, is "ZELTO".
bool IsZeltoEditionProgram(const std::string& programPath);
// The same for the running program.
bool RunsAsZeltoEdition();
