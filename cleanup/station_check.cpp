#include "station_check.h"

#include "device_handle.h"

namespace {

// The station-manager driver answers it with a byte count that is not zero
// exactly when the caller sits at a station.
const DWORD kStationQuery = 0x813;

}  // namespace

bool IsAtStation() {
    // Without the driver there are no stations: this is the console.
    DeviceHandle driver(CreateFileA("\\\\.\\Corehub", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!driver.IsOpen()) return false;
    DWORD returned = 0;
    BOOL answered = DeviceIoControl(driver.Get(), kStationQuery, nullptr, 0, nullptr, 0, &returned, nullptr);
    return answered && returned != 0;
}
