#include "driver_channel.h"

#include <cstring>

#include "application_device.h"

namespace {

// The driver's control codes, a numbered series; the channel uses these.
enum ControlCode : DWORD {
    kLaunchStation = 0x220802,
    kFirstLaunch = 0x220803,
    kNextLaunch = 0x220804,
    kFirstTask = 0x220806,
    kNextTask = 0x220807,
    kFirstProgram = 0x220808,
    kNextProgram = 0x220809,
    kFirstDevice = 0x22080A,
    kNextDevice = 0x22080B,
    kStopStation = 0x22080C,
    kSendText = 0x22080D,
    kPrepareShutdown = 0x22080E,
    kExecuteShutdown = 0x220810,
    kQueryPending = 0x220813,
    kAutoLaunch = 0x22081A,
};

// Asked of the application until it has a valid handle; from then on the
// same handle serves the rest of the process.
HANDLE keptHandle = INVALID_HANDLE_VALUE;

HANDLE DeviceHandle() {
    if (keptHandle == INVALID_HANDLE_VALUE) keptHandle = ApplicationDeviceHandle();
    return keptHandle;
}

// One request whose buffer carries the record in and the answer out.
template <typename Record>
BOOL Exchange(DWORD code, Record& record) {
    DWORD returned = 0;
    return DeviceIoControl(DeviceHandle(), code, &record, sizeof record, &record, sizeof record, &returned, nullptr);
}

// Copies at most size - 1 characters into a zero-filled field.
void CopyName(char* field, size_t size, const char* text) {
    std::memset(field, 0, size);
    if (text) std::strncpy(field, text, size - 1);
}

// Reads a list into an array: the position the driver wrote into answer n
// starts request n+1 in its own element.
template <typename Record, typename Position>
size_t ReadList(Record* records, size_t capacity, BOOL (*first)(Record&), BOOL (*next)(Record&),
                Position Record::*position) {
    if (capacity == 0) return 0;
    std::memset(&records[0], 0, sizeof(Record));
    if (!first(records[0])) return 0;
    size_t count = 1;
    while (count < capacity) {
        records[count].*position = records[count - 1].*position;
        if (!next(records[count])) break;
        ++count;
    }
    return count;
}

// The most records a search goes through: the driver holds at most eight
// launched stations, and Windows 95/98 loads a few dozen virtual devices.
const int kLaunchLimit = 8;
const int kDeviceLimit = 1024;

// Searches a driver list from its first record until found answers true.
// False when a request fails, after the most records the list can hold, and
// when a record does not move on from the one before: a driver that answers
// with a short or zero byte count has the same record handed back, and the
// search would never end.
template <typename Record, typename Position, typename Found>
bool FindInList(Record& record, BOOL (*first)(Record&), BOOL (*next)(Record&), Position Record::*position, int limit,
                Found found) {
    std::memset(&record, 0, sizeof record);
    if (!first(record)) return false;
    for (int seen = 1; !found(record); ++seen) {
        const Position previous = record.*position;
        if (seen >= limit || !next(record) || record.*position == previous) return false;
    }
    return true;
}

}  // namespace

int DriverChannel::LaunchStation(const char* stationName, const char* userName, int stationIndex) {
    LaunchRecord record;
    CopyName(record.stationName, sizeof record.stationName, stationName);
    CopyName(record.userName, sizeof record.userName, userName);
    record.stationIndex = stationIndex;
    return Exchange(kLaunchStation, record) ? 0 : 1;
}

BOOL DriverChannel::FirstLaunch(LaunchRecord& record) {
    return Exchange(kFirstLaunch, record);
}
BOOL DriverChannel::NextLaunch(LaunchRecord& record) {
    return Exchange(kNextLaunch, record);
}
BOOL DriverChannel::FirstTask(TaskRecord& record) {
    return Exchange(kFirstTask, record);
}
BOOL DriverChannel::NextTask(TaskRecord& record) {
    return Exchange(kNextTask, record);
}
BOOL DriverChannel::FirstProgram(ProgramRecord& record) {
    return Exchange(kFirstProgram, record);
}
BOOL DriverChannel::NextProgram(ProgramRecord& record) {
    return Exchange(kNextProgram, record);
}
BOOL DriverChannel::FirstDevice(DeviceBlock& block) {
    return Exchange(kFirstDevice, block);
}
BOOL DriverChannel::NextDevice(DeviceBlock& block) {
    return Exchange(kNextDevice, block);
}
BOOL DriverChannel::StopStation(LaunchRecord& record) {
    return Exchange(kStopStation, record);
}

BOOL DriverChannel::SendText(const char* text) {
    TextRecord record;
    CopyName(record.text, sizeof record.text, text);
    return Exchange(kSendText, record);
}

BOOL DriverChannel::PrepareShutdown(uint32_t mode) {
    return Exchange(kPrepareShutdown, mode);
}

BOOL DriverChannel::ExecuteShutdown(uint32_t mode) {
    uint16_t low = static_cast<uint16_t>(mode);
    return Exchange(kExecuteShutdown, low);
}

DWORD DriverChannel::QueryPending() {
    DWORD returned = 0;
    if (!DeviceIoControl(DeviceHandle(), kQueryPending, nullptr, 0, nullptr, 0, &returned, nullptr)) return 0;
    return returned;
}

int DriverChannel::AutoLaunchStations() {
    HANDLE device = DeviceHandle();
    if (device == INVALID_HANDLE_VALUE) return 0;
    DWORD returned = 0;
    return DeviceIoControl(device, kAutoLaunch, nullptr, 0, nullptr, 0, &returned, nullptr) ? 1 : 0;
}

size_t DriverChannel::ReadLaunches(LaunchRecord* records, size_t capacity) {
    return ReadList(records, capacity, &FirstLaunch, &NextLaunch, &LaunchRecord::stationIndex);
}

size_t DriverChannel::ReadTasks(TaskRecord* records, size_t capacity) {
    return ReadList(records, capacity, &FirstTask, &NextTask, &TaskRecord::taskKey);
}

size_t DriverChannel::ReadPrograms(ProgramRecord* records, size_t capacity) {
    return ReadList(records, capacity, &FirstProgram, &NextProgram, &ProgramRecord::position);
}

bool DriverChannel::FindLaunchedStation(int stationIndex, const char* stationName, LaunchRecord& record) {
    // The driver holds the name as the launch gave it, cut to its field.
    char wanted[sizeof record.stationName];
    CopyName(wanted, sizeof wanted, stationName);
    auto named = [&wanted](const LaunchRecord& found) {
        // The driver's field may lack a terminator; compare a terminated copy.
        char name[sizeof found.stationName + 1];
        std::memcpy(name, found.stationName, sizeof found.stationName);
        name[sizeof found.stationName] = '\0';
        return lstrcmpiA(name, wanted) == 0;
    };
    // The station's own record carries its index: another station of the
    // same name is not stopped for it, and a station renamed while launched
    // is still found.
    return FindInList(record, &FirstLaunch, &NextLaunch, &LaunchRecord::stationIndex, kLaunchLimit,
                      [&](const LaunchRecord& found) { return found.stationIndex == stationIndex && named(found); }) ||
           FindInList(record, &FirstLaunch, &NextLaunch, &LaunchRecord::stationIndex, kLaunchLimit,
                      [&](const LaunchRecord& found) { return found.stationIndex == stationIndex; });
}

bool DriverChannel::FindLoadedDevice(uint16_t deviceId, DeviceBlock& block) {
    return FindInList(block, &FirstDevice, &NextDevice, &DeviceBlock::next, kDeviceLimit,
                      [deviceId](const DeviceBlock& found) { return found.deviceId == deviceId; });
}

void DriverChannel::ForgetKeptHandle() {
    keptHandle = INVALID_HANDLE_VALUE;
}
