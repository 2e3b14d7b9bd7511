// The station check: which station drivers are loaded, whether the station
// started up, its keyboard and mouse responded and it is launched, shown in
// the station check dialog until the administrator closes it.
#pragma once

#include <cstdint>
#include <string>

#include "system_config.h"

class CWnd;

void StationCheckCommand(SystemConfig& model, CWnd* frame);

// Whether the driver lists a loaded virtual device with this ID.
bool IsDevicePresent(uint16_t deviceId);
// Appends the text of each missing station driver (of every one, with
// showAll); true when the four that the stations need are all loaded.
bool CheckStationDrivers(std::string& report, bool showAll);
