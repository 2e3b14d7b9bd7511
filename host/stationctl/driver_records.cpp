#include "driver_records.h"

namespace stationctl {

uint16_t ReadU16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t ReadU32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

std::string FieldText(const uint8_t* field, size_t size) {
    size_t length = 0;
    while (length < size && field[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(field), length);
}

LaunchInfo DecodeLaunch(const LaunchBytes& record) {
    LaunchInfo launch;
    launch.stationName = FieldText(record.data(), 32);
    launch.userName = FieldText(record.data() + 32, 32);
    launch.stationIndex = static_cast<int32_t>(ReadU32(record.data() + 64));
    return launch;
}

TaskInfo DecodeTask(const TaskBytes& record) {
    return {ReadU32(record.data() + 20), static_cast<int32_t>(ReadU32(record.data() + 24))};
}

ProgramInfo DecodeProgram(const ProgramBytes& record) {
    return {ReadU32(record.data() + 20), ReadU32(record.data() + 60), FieldText(record.data() + 96, 128)};
}

DeviceInfo DecodeDevice(const DeviceBytes& block) {
    DeviceInfo device;
    device.id = ReadU16(block.data() + 6);
    device.major = block[8];
    device.minor = block[9];
    // The virtual-machine manager keeps a device's name blank-padded in the
    // eight bytes at offset 12 of its block. A driver need not fill them, so
    // the name is shown only when all eight are printable.
    std::string name(reinterpret_cast<const char*>(block.data() + 12), 8);
    bool printable = true;
    for (char c : name) printable = printable && c >= 0x20 && c < 0x7F;
    if (printable) {
        while (!name.empty() && name.back() == ' ') name.pop_back();
        device.name = name;
    }
    return device;
}

}  // namespace stationctl
