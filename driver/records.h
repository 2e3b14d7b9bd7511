// The records exchanged with the station-manager driver. Each is one packed,
// little-endian buffer that carries the request in and the answer out;
// strings are single-byte, zero-terminated and zero-padded in their field.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One launched station.
struct LaunchRecord {
    char stationName[32];
    char userName[32];
    // 0 to 7; in an enumeration also where the next request continues.
    int32_t stationIndex;
};

// One unit of work on a launched station. The leading bytes belong to the
// driver and pass through untouched.
struct TaskRecord {
    uint8_t driverData[20];
    // Program records refer to it; in an enumeration also the position.
    uint32_t taskKey;
    // Compared with a LaunchRecord's station index.
    uint32_t stationIndex;
};

// One program of a task.
struct ProgramRecord {
    uint8_t driverData1[20];
    uint32_t taskKey;
    uint8_t driverData2[36];
    uint32_t position;  // where the next request continues
    uint8_t driverData3[32];
    char commandText[128];  // a program path, possibly quoted, and arguments
};

// The virtual device descriptor block of a loaded Windows 9x virtual device,
// as the driver copies it out.
struct DeviceBlock {
    uint32_t next;  // link to the next block; where the next request continues
    uint16_t sdkVersion;
    uint16_t deviceId;
    uint8_t majorVersion;
    uint8_t minorVersion;
    uint8_t rest[70];
};

// A text for the stations: at most 255 characters and their terminator.
struct TextRecord {
    char text[256];
};

#pragma pack(pop)

static_assert(sizeof(LaunchRecord) == 68);
static_assert(offsetof(LaunchRecord, userName) == 32);
static_assert(offsetof(LaunchRecord, stationIndex) == 64);
static_assert(sizeof(TaskRecord) == 28);
static_assert(offsetof(TaskRecord, taskKey) == 20);
static_assert(offsetof(TaskRecord, stationIndex) == 24);
static_assert(sizeof(ProgramRecord) == 224);
static_assert(offsetof(ProgramRecord, taskKey) == 20);
static_assert(offsetof(ProgramRecord, position) == 60);
static_assert(offsetof(ProgramRecord, commandText) == 96);
static_assert(sizeof(DeviceBlock) == 80);
static_assert(offsetof(DeviceBlock, deviceId) == 6);
static_assert(offsetof(DeviceBlock, majorVersion) == 8);
static_assert(offsetof(DeviceBlock, minorVersion) == 9);
static_assert(sizeof(TextRecord) == 256);
