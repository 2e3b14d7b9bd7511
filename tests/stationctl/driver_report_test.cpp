#include "driver_report.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace stationctl;

namespace {

CorehubLogEntry Entry(uint32_t device, uint32_t code, std::vector<uint8_t> input, uint32_t inputLength) {
    CorehubLogEntry entry = {};
    entry.device = device;
    entry.code = code;
    entry.inputLength = inputLength;
    std::memcpy(entry.input, input.data(), std::min<size_t>(input.size(), sizeof entry.input));
    return entry;
}

}  // namespace

TEST(FormatRequestLine, InputBytesAreLowerCaseHexPairs) {
    EXPECT_EQ(FormatRequestLine(Entry(0, 0x22081A, {}, 0)), "0x22081A");
    EXPECT_EQ(FormatRequestLine(Entry(0, 0x22080E, {0x43, 0, 0, 0}, 4)), "0x22080E 43 00 00 00");
    EXPECT_EQ(FormatRequestLine(Entry(0, 0x220810, {0xAB, 0x0F}, 2)), "0x220810 ab 0f");
}

TEST(FormatRequestLine, ShowsExactlyTheBytesTheCallerGave) {
    // The entry is zero-filled past the input: those zeros were never sent.
    CorehubLogEntry entry = Entry(0, 0x22080D, {'H', 'i', 0, 0, 0, 0}, 3);
    EXPECT_EQ(FormatRequestLine(entry), "0x22080D 48 69 00");
}

TEST(FormatRequestLine, StopsAtTheBytesTheLogKeeps) {
    std::vector<uint8_t> input(COREHUB_LOG_INPUT_BYTES, 0x11);
    std::string line = FormatRequestLine(Entry(0, 0x220808, input, 300));
    EXPECT_EQ(line.size(), std::string("0x220808").size() + 3 * COREHUB_LOG_INPUT_BYTES);
    EXPECT_EQ(line.substr(line.size() - 3), " 11");
}

TEST(FormatRequestLine, CodesWiderThanSixDigitsAreNotCut) {
    EXPECT_EQ(FormatRequestLine(Entry(0, 0x813, {}, 0)), "0x000813");
    EXPECT_EQ(FormatRequestLine(Entry(0, 0x8C0F2400, {}, 0)), "0x8C0F2400");
}

TEST(FormatRequestLine, PortlaneRequestsAreMarked) {
    EXPECT_EQ(FormatRequestLine(Entry(1, 0x801, {}, 0)), "0x000801 portlane");
    EXPECT_EQ(FormatRequestLine(Entry(1, 0x801, {1}, 1)), "0x000801 01 portlane");
}

TEST(DecodeRecords, ReadTheAgreedOffsetsLittleEndian) {
    LaunchBytes launch = {};
    std::memcpy(launch.data(), "Front Desk", 10);
    std::memcpy(launch.data() + 32, "reception", 9);
    launch[64] = 0x02;
    LaunchInfo decoded = DecodeLaunch(launch);
    EXPECT_EQ(decoded.stationName, "Front Desk");
    EXPECT_EQ(decoded.userName, "reception");
    EXPECT_EQ(decoded.stationIndex, 2);

    TaskBytes task = {};
    task[20] = 0x34;
    task[21] = 0x12;
    task[24] = 0x07;
    EXPECT_EQ(DecodeTask(task).key, 0x1234u);
    EXPECT_EQ(DecodeTask(task).stationIndex, 7);

    ProgramBytes program = {};
    program[20] = 9;
    program[60] = 0x10;
    program[63] = 0x01;
    std::memcpy(program.data() + 96, "C:\\WINDOWS\\CALC.EXE", 19);
    ProgramInfo decodedProgram = DecodeProgram(program);
    EXPECT_EQ(decodedProgram.taskKey, 9u);
    EXPECT_EQ(decodedProgram.position, 0x01000010u);
    EXPECT_EQ(decodedProgram.command, "C:\\WINDOWS\\CALC.EXE");
}

TEST(DecodeRecords, AnUnterminatedFieldStopsAtItsEnd) {
    LaunchBytes launch;
    launch.fill('x');
    launch[64] = launch[65] = launch[66] = launch[67] = 0xFF;
    LaunchInfo decoded = DecodeLaunch(launch);
    EXPECT_EQ(decoded.stationName, std::string(32, 'x'));
    EXPECT_EQ(decoded.userName, std::string(32, 'x'));
    EXPECT_EQ(decoded.stationIndex, -1);

    ProgramBytes program;
    program.fill('p');
    EXPECT_EQ(DecodeProgram(program).command, std::string(128, 'p'));
}

TEST(DecodeRecords, DeviceNameOnlyWhenReadable) {
    DeviceBytes block = {};
    block[6] = 0xE3;
    block[7] = 0x3A;
    block[8] = 4;
    block[9] = 10;
    std::memcpy(block.data() + 12, "VKD     ", 8);
    DeviceInfo device = DecodeDevice(block);
    EXPECT_EQ(device.id, 0x3AE3);
    EXPECT_EQ(device.major, 4);
    EXPECT_EQ(device.minor, 10);
    EXPECT_EQ(device.name, "VKD");
    block[14] = 0;
    EXPECT_EQ(DecodeDevice(block).name, "");
}

TEST(FormatListing, TasksAndProgramsSitUnderTheirStation) {
    std::vector<LaunchInfo> launches = {{"Front Desk", "reception", 0}, {"Reading Room", "reader", 1}};
    std::vector<TaskInfo> tasks = {{1, 0}, {2, 1}, {3, 0}};
    std::vector<ProgramInfo> programs = {
        {1, 1, "EXPLORER.EXE"}, {2, 2, "CALC.EXE"}, {3, 3, "NOTEPAD.EXE"}, {1, 4, "SYSTRAY.EXE"}};
    std::vector<std::string> expected = {
        "station 1: \"Front Desk\", user \"reception\"",
        "  task 1",
        "    EXPLORER.EXE",
        "    SYSTRAY.EXE",
        "  task 3",
        "    NOTEPAD.EXE",
        "station 2: \"Reading Room\", user \"reader\"",
        "  task 2",
        "    CALC.EXE",
    };
    EXPECT_EQ(FormatListing(launches, tasks, programs, {}), expected);
}

TEST(FormatListing, WhatBelongsToNothingListedIsStillShown) {
    std::vector<LaunchInfo> launches = {{"Far", "u", 12}};
    std::vector<TaskInfo> tasks = {{5, 3}};
    std::vector<ProgramInfo> programs = {{5, 1, "A.EXE"}, {9, 2, "B.EXE"}};
    std::vector<DeviceInfo> devices = {{0x3AE3, 4, 0, "COREHUB"}, {0x000D, 4, 0, ""}};
    std::vector<std::string> expected = {
        "station index 12: \"Far\", user \"u\"",
        "tasks of stations not launched:",
        "  task 5 (station 4)",
        "    A.EXE",
        "programs of unknown tasks:",
        "  task 9: B.EXE",
        "device 0x3AE3 4.00 COREHUB",
        "device 0x000D 4.00",
    };
    EXPECT_EQ(FormatListing(launches, tasks, programs, devices), expected);
}
