/* corehub.sys: the station manager as the host PC runs it. Creates the
 * control device \\.\Corehub and the station I/O device \\.\Portlane, finds
 * each request's buffers for its transfer method, logs the request and hands
 * it to corehub_codes.c. */
#include "corehub_internal.h"
#include "ioctl_buffers.h"
#include "stand_in_devices.h"

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
    request.device = StandInDeviceNumber(device);
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

/* The station side can make \\.\Corehub look missing. */
void CorehubSetLinkPresent(BOOLEAN present) {
    SetStandInLinkPresent(COREHUB_DEVICE_NAME, COREHUB_LINK_NAME, present);
}

static void DriverUnload(PDRIVER_OBJECT driver) {
    UNREFERENCED_PARAMETER(driver);
    DeleteStandInDevice(&portlaneDevice, PORTLANE_LINK_NAME);
    DeleteStandInDevice(&corehubDevice, COREHUB_LINK_NAME);
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

    NTSTATUS status =
        CreateStandInDevice(driver, COREHUB_DEVICE, COREHUB_DEVICE_NAME, COREHUB_LINK_NAME, &corehubDevice);
    if (NT_SUCCESS(status)) {
        status =
            CreateStandInDevice(driver, PORTLANE_DEVICE, PORTLANE_DEVICE_NAME, PORTLANE_LINK_NAME, &portlaneDevice);
    }
    if (!NT_SUCCESS(status)) DriverUnload(driver);
    return status;
}
