// The program of a command text, as the running-programs tree names it.
#include <gtest/gtest.h>

#include "program_files.h"

namespace {

TEST(ProgramOfCommand, EndsAfterTheProgramAndDropsQuotes) {
    EXPECT_EQ(ProgramOfCommand("C:\\WINDOWS\\NOTEPAD.EXE readme.txt", true), "notepad.exe");
    EXPECT_EQ(ProgramOfCommand("C:\\WINDOWS\\NOTEPAD.EXE readme.txt", false), "c:\\windows\\notepad.exe");
    const std::string quoted = "\"c:\\program files\\tool\\run.exe\" /s";
    EXPECT_EQ(ProgramOfCommand(quoted, true), "run.exe");
    EXPECT_EQ(ProgramOfCommand(quoted, false), "c:\\program files\\tool\\run.exe");
    EXPECT_EQ(ProgramOfCommand("command.com /c dir", true), "command.com");
    EXPECT_EQ(ProgramOfCommand("\"MS-DOS Box\" session", false), "ms-dos box\" session")
        << "kept whole, opening quote gone";
    EXPECT_EQ(ProgramOfCommand("setup", true), "setup");
    EXPECT_EQ(ProgramOfCommand("C:\\GAMES\\DOOM.PIF -fast", true), "doom.pif");
    EXPECT_EQ(ProgramOfCommand("  \"\"x.exe\"\"  ", true), "x.exe") << "quotes and blanks around it go";
}

}  // namespace
