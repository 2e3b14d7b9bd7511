// How the driver's state is printed: the request log one line per request,
// the status, and the listing of launched stations with their tasks and
// programs. Pure formatting, so the layouts that scripts rely on are tested.
#pragma once

#include <string>
#include <vector>

#include "corehub_protocol.h"
#include "driver_records.h"

namespace stationctl {

// "0x%06X", then the logged input bytes as lower-case hex pairs separated by
// single spaces (inputLength of them, at most the 256 the log keeps); a
// request that reached the Portlane device ends with " portlane".
std::string FormatRequestLine(const CorehubLogEntry& entry);

// "name: value" lines.
std::vector<std::string> FormatStatus(const CorehubStatus& status);

// Stations 1 to 8 are driver indexes 0 to 7; other indexes are named as
// such.
std::string StationLabel(int32_t stationIndex);

// Each launched station with its tasks and their programs, then tasks and
// programs that belong to nothing listed, then the reported devices.
std::vector<std::string> FormatListing(const std::vector<LaunchInfo>& launches, const std::vector<TaskInfo>& tasks,
                                       const std::vector<ProgramInfo>& programs,
                                       const std::vector<DeviceInfo>& devices);

}  // namespace stationctl
