// The records of the driver's enumerations, decoded from the bytes the
// driver answers with. Only the fields the whole system agrees on are read;
// the rest of each record belongs to the driver.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "corehub_protocol.h"

namespace stationctl {

using LaunchBytes = std::array<uint8_t, COREHUB_LAUNCH_RECORD_SIZE>;
using TaskBytes = std::array<uint8_t, COREHUB_TASK_RECORD_SIZE>;
using ProgramBytes = std::array<uint8_t, COREHUB_PROGRAM_RECORD_SIZE>;
using DeviceBytes = std::array<uint8_t, COREHUB_DEVICE_BLOCK_SIZE>;

struct LaunchInfo {
    std::string stationName;
    std::string userName;
    int32_t stationIndex = 0;  // also where the next request continues
};

struct TaskInfo {
    uint32_t key = 0;  // also where the next request continues
    int32_t stationIndex = 0;
};

struct ProgramInfo {
    uint32_t taskKey = 0;
    uint32_t position = 0;  // where the next request continues
    std::string command;
};

struct DeviceInfo {
    uint16_t id = 0;
    uint8_t major = 0;
    uint8_t minor = 0;
    std::string name;  // empty unless the block carries a readable one
};

// Little-endian reads at a byte offset.
uint16_t ReadU16(const uint8_t* bytes);
uint32_t ReadU32(const uint8_t* bytes);

// A zero-terminated text in a field that the driver need not terminate.
std::string FieldText(const uint8_t* field, size_t size);

LaunchInfo DecodeLaunch(const LaunchBytes& record);
TaskInfo DecodeTask(const TaskBytes& record);
ProgramInfo DecodeProgram(const ProgramBytes& record);
DeviceInfo DecodeDevice(const DeviceBytes& block);

}  // namespace stationctl
