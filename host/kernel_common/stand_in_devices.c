#include "stand_in_devices.h"

typedef struct DeviceExtension {
    ULONG number;
} DeviceExtension;

NTSTATUS CreateStandInDevice(PDRIVER_OBJECT driver, ULONG number, const WCHAR* deviceName, const WCHAR* linkName,
                             PDEVICE_OBJECT* device) {
    UNICODE_STRING name;
    UNICODE_STRING link;
    RtlInitUnicodeString(&name, deviceName);
    RtlInitUnicodeString(&link, linkName);
    NTSTATUS status = IoCreateDevice(driver, sizeof(DeviceExtension), &name, FILE_DEVICE_UNKNOWN, 0, FALSE, device);
    if (!NT_SUCCESS(status)) return status;
    ((DeviceExtension*)(*device)->DeviceExtension)->number = number;
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(*device);
        *device = NULL;
        return status;
    }
    (*device)->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

void DeleteStandInDevice(PDEVICE_OBJECT* device, const WCHAR* linkName) {
    if (*device == NULL) return;
    UNICODE_STRING link;
    RtlInitUnicodeString(&link, linkName);
    IoDeleteSymbolicLink(&link);
    IoDeleteDevice(*device);
    *device = NULL;
}

ULONG StandInDeviceNumber(PDEVICE_OBJECT device) {
    return ((DeviceExtension*)device->DeviceExtension)->number;
}

void SetStandInLinkPresent(const WCHAR* deviceName, const WCHAR* linkName, BOOLEAN present) {
    UNICODE_STRING name;
    UNICODE_STRING link;
    RtlInitUnicodeString(&name, deviceName);
    RtlInitUnicodeString(&link, linkName);
    if (present)
        IoCreateSymbolicLink(&link, &name);
    else
        IoDeleteSymbolicLink(&link);
}
