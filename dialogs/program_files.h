// The program of a command that started it, as the running-programs tree
// names it.
#pragma once

#include <string>

// The program of a command text, lower-cased and without quotes; without
// its folder when stripPath is set. The program ends after the first ".exe"
// or else ".pif"; a "dos box" command is kept whole; anything else ends at
// the first blank.
std::string ProgramOfCommand(const std::string& commandText, bool stripPath);
