/* The devices of a stand-in driver: each with a number that tells the
 * dispatch routines which one a request came to, and a symbolic link that
 * callers open it by. */
#pragma once

#include <ntddk.h>

/* Creates the device with its link; on failure nothing is left behind. */
NTSTATUS CreateStandInDevice(PDRIVER_OBJECT driver, ULONG number, const WCHAR* deviceName, const WCHAR* linkName,
                             PDEVICE_OBJECT* device);
/* Removes the link and the device, when there is one. */
void DeleteStandInDevice(PDEVICE_OBJECT* device, const WCHAR* linkName);
ULONG StandInDeviceNumber(PDEVICE_OBJECT device);
/* Without its link a device cannot be opened, just as when no driver is
 * loaded (Wine would ignore a failed IRP_MJ_CREATE), while handles already
 * open keep working. */
void SetStandInLinkPresent(const WCHAR* deviceName, const WCHAR* linkName, BOOLEAN present);
