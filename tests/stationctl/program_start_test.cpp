#include "program_start.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace stationctl;

TEST(ParseStationArgument, NumbersOutsideTheStationsAreBadArguments) {
    StationArgument station;
    ASSERT_TRUE(ParseStationArgument("8", station).ok());
    EXPECT_EQ(station.index, 7);
    EXPECT_EQ(ParseStationArgument("0", station).exitCode, kExitBadArguments);
    EXPECT_EQ(ParseStationArgument("9", station).exitCode, kExitBadArguments);
    EXPECT_EQ(ParseStationArgument("", station).exitCode, kExitBadArguments);
}

TEST(ParseStationArgument, AnythingElseIsANameOfAtMost31Characters) {
    StationArgument station;
    ASSERT_TRUE(ParseStationArgument("Front Desk", station).ok());
    EXPECT_FALSE(station.index);
    EXPECT_EQ(station.name, "Front Desk");
    ASSERT_TRUE(ParseStationArgument("Station2", station).ok());
    EXPECT_EQ(station.name, "Station2");
    EXPECT_TRUE(ParseStationArgument(std::string(31, 'n'), station).ok());
    EXPECT_EQ(ParseStationArgument(std::string(32, 'n'), station).exitCode, kExitBadArguments);
}

TEST(DefaultTaskName, IsTheProgramsFileName) {
    EXPECT_EQ(DefaultTaskName("C:\\WINDOWS\\NOTEPAD.EXE C:\\WINDOWS\\README.TXT"), "NOTEPAD.EXE");
    EXPECT_EQ(DefaultTaskName("\"C:\\Program Files\\Accessories\\WORDPAD.EXE\" /p x.doc"), "WORDPAD.EXE");
    EXPECT_EQ(DefaultTaskName("  calc"), "calc");
    EXPECT_EQ(DefaultTaskName("D:tool.exe"), "tool.exe");
    // Cut to what a task name holds.
    EXPECT_EQ(DefaultTaskName("C:\\APPS\\AVERYLONGPROGRAMNAME.EXE"), "AVERYLONGPROGRAMNAM");
}

TEST(DefaultTaskName, NeverEmpty) {
    EXPECT_EQ(DefaultTaskName(""), "program");
    EXPECT_EQ(DefaultTaskName("   "), "program");
    EXPECT_EQ(DefaultTaskName("\"\" x"), "program");
    EXPECT_EQ(DefaultTaskName("C:\\DIR\\"), "program");
}

TEST(BuildProgramStart, FillsTheRequestZeroTerminated) {
    CorehubProgramStart start;
    std::memset(&start, 0xCC, sizeof start);
    std::string command(127, 'c');
    std::string task(19, 't');
    ASSERT_TRUE(BuildProgramStart(5, task, command, start).ok());
    EXPECT_EQ(start.stationIndex, 5);
    EXPECT_EQ(std::string(start.task), task);
    EXPECT_EQ(std::string(start.command), command);
    EXPECT_EQ(start.task[19], '\0');
    EXPECT_EQ(start.command[127], '\0');
}

TEST(BuildProgramStart, RefusesTextsTheRequestCannotHold) {
    CorehubProgramStart start;
    EXPECT_EQ(BuildProgramStart(0, "task", std::string(128, 'c'), start).exitCode, kExitBadArguments);
    EXPECT_EQ(BuildProgramStart(0, std::string(20, 't'), "calc", start).exitCode, kExitBadArguments);
    EXPECT_EQ(BuildProgramStart(0, "task", "", start).exitCode, kExitBadArguments);
    EXPECT_EQ(BuildProgramStart(0, "", "calc", start).exitCode, kExitBadArguments);
}
