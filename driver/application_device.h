// The channel's source of the driver's device handle: the application object,
// which opens the device once at start-up and closes it at the end. The
// application defines this function; until it has opened the device, or when
// it could not, the answer is INVALID_HANDLE_VALUE.
#pragma once

#include <windows.h>

HANDLE ApplicationDeviceHandle();
