// Every request of the control center to the station-manager driver: one
// blocking DeviceIoControl per operation, with one fixed control code and one
// fixed record size, on the handle the application opened. Nothing is shown
// to the user here; each caller decides what a result means to it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "records.h"

class DriverChannel {
public:
    // Zero on success and non-zero on failure: the opposite of every other
    // operation, as the driver reports it.
    static int LaunchStation(const char* stationName, const char* userName, int stationIndex);
    static BOOL FirstLaunch(LaunchRecord& record);
    static BOOL NextLaunch(LaunchRecord& record);
    static BOOL FirstTask(TaskRecord& record);
    static BOOL NextTask(TaskRecord& record);
    static BOOL FirstProgram(ProgramRecord& record);
    static BOOL NextProgram(ProgramRecord& record);
    static BOOL FirstDevice(DeviceBlock& block);
    static BOOL NextDevice(DeviceBlock& block);
    // The record exactly as an enumeration returned it.
    static BOOL StopStation(LaunchRecord& record);
    // Texts longer than 255 characters are cut.
    static BOOL SendText(const char* text);
    static BOOL PrepareShutdown(uint32_t mode);
    // Only the low 16 bits of the mode travel.
    static BOOL ExecuteShutdown(uint32_t mode);
    // The byte count the driver reports (non-zero: stations must not be
    // stopped now); 0 when the request fails.
    static DWORD QueryPending();
    // 1 on success, 0 on failure; without a driver no request is made.
    static int AutoLaunchStations();

    // Callers that keep every answer: each list is read into the array until
    // a request fails or the array is full; the result is how many were read.
    static size_t ReadLaunches(LaunchRecord* records, size_t capacity);
    static size_t ReadTasks(TaskRecord* records, size_t capacity);
    static size_t ReadPrograms(ProgramRecord* records, size_t capacity);

    // The launch record of the station at this index, ready for StopStation;
    // should the driver list the index twice, the record whose name is the
    // station's (ignoring case, as the driver holds it). False when the
    // station is not launched.
    static bool FindLaunchedStation(int stationIndex, const char* stationName, LaunchRecord& record);
    // The block of the first loaded virtual device with this ID.
    static bool FindLoadedDevice(uint16_t deviceId, DeviceBlock& block);

    // Tests only: forget the kept handle, so the next request asks the
    // application again.
    static void ForgetKeptHandle();
};
