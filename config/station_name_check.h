// The check of a station name typed into the station settings dialog or a
// station page: a name that another detected station has is refused.
#pragma once

#include <string>

#include "data_exchange.h"
#include "system_config.h"

// Refuses the name, with its message, when another detected station of the
// model has it (compared without case, as the driver compares names);
// without a model any name goes.
void DDV_StationNameFree(CDataExchange* exchange, const SystemConfig* model, int stationIndex, const std::string& name);
