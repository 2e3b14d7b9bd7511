/* corehub.sys: the station manager as the host PC runs it. Creates the
 * control device \\.\Corehub and the station I/O device \\.\Portlane, finds
 * each request's buffers for its transfer method, logs the request and hands
 * it to corehub_codes.c. */
#include "corehub_internal.h"
#include "ioctl_buffers.h"

typedef struct DeviceExtension {
    ULONG device; /* COREHUB_DEVICE or PORTLANE_DEVICE */
} DeviceExtension;

static PDEVICE_OBJECT corehubDevice;
static PDEVICE_OBJECT portlaneDevice;

DRIVER_INITIALIZE DriverEntry;

static NTSTATUS DispatchOpenClose(PDEVICE_OBJECT device, PIRP irp) {
    UNREFERENCED_PARAMETER(device);
    return CompleteIrp(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    CorehubRequest request;
    RtlZeroMemory(&request, sizeof request);
    request.device = ((DeviceExtension*)device->DeviceExtension)->device;
    request.code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG givenLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    IoctlBuffers buffers;
    NTSTATUS status = FindIoctlBuffers(irp, stack, &buffers);
    request.input = buffers.input;
    request.inputLength = buffers.inputLength;
    request.output = buffers.output;
    request.outputLength = buffers.outputLength;

    CorehubLock();
    /* Logged before anything is checked: a refused request is still one
     * that a caller sent. */
    if (!CorehubIsPrivateCode(request.device, request.code)) {
        CorehubLogRequest(request.device, request.code, givenLength, request.input, request.inputLength);
    }
    if (NT_SUCCESS(status)) status = CorehubHandleRequest(&request);
    CorehubUnlock();

    return CompleteIrp(irp, status, NT_SUCCESS(status) ? request.information : 0);
}

static void DeleteDevice(PDEVICE_OBJECT* device, const WCHAR* link) {
    if (*device == NULL) return;
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, link);
    IoDeleteSymbolicLink(&name);
    IoDeleteDevice(*device);
    *device = NULL;
}

/* The station side can make \\.\Corehub look missing: without its link a
 * caller's open fails just as when no driver is loaded, while handles
 * already open keep working. */
void CorehubSetLinkPresent(BOOLEAN present) {
    UNICODE_STRING name;
    UNICODE_STRING link;
    RtlInitUnicodeString(&name, COREHUB_DEVICE_NAME);
    RtlInitUnicodeString(&link, COREHUB_LINK_NAME);
    if (present)
        IoCreateSymbolicLink(&link, &name);
    else
        IoDeleteSymbolicLink(&link);
}

static void DriverUnload(PDRIVER_OBJECT driver) {
    UNREFERENCED_PARAMETER(driver);
    DeleteDevice(&portlaneDevice, PORTLANE_LINK_NAME);
    DeleteDevice(&corehubDevice, COREHUB_LINK_NAME);
}

static NTSTATUS CreateDevice(PDRIVER_OBJECT driver, ULONG number, const WCHAR* deviceName, const WCHAR* linkName,
                             PDEVICE_OBJECT* device) {
    UNICODE_STRING name;
    UNICODE_STRING link;
    RtlInitUnicodeString(&name, deviceName);
    RtlInitUnicodeString(&link, linkName);
    NTSTATUS status = IoCreateDevice(driver, sizeof(DeviceExtension), &name, FILE_DEVICE_UNKNOWN, 0, FALSE, device);
    if (!NT_SUCCESS(status)) return status;
    ((DeviceExtension*)(*device)->DeviceExtension)->device = number;
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(*device);
        *device = NULL;
        return status;
    }
    (*device)->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    UNREFERENCED_PARAMETER(registryPath);
    CorehubStateInitialize();
    CorehubLogReset();

    driver->MajorFunction[IRP_MJ_CREATE] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->DriverUnload = DriverUnload;

    NTSTATUS status = CreateDevice(driver, COREHUB_DEVICE, COREHUB_DEVICE_NAME, COREHUB_LINK_NAME, &corehubDevice);
    if (NT_SUCCESS(status)) {
        status = CreateDevice(driver, PORTLANE_DEVICE, PORTLANE_DEVICE_NAME, PORTLANE_LINK_NAME, &portlaneDevice);
    }
    if (!NT_SUCCESS(status)) DriverUnload(driver);
    return status;
}
