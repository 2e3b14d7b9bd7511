/* corehub.sys: the station manager as the host PC runs it. Creates the
 * control device \\.\Corehub and the station I/O device \\.\Portlane, finds
 * each request's buffers for its transfer method, logs the request and hands
 * it to corehub_codes.c. */
#include "corehub_internal.h"

typedef struct DeviceExtension {
    ULONG device; /* COREHUB_DEVICE or PORTLANE_DEVICE */
} DeviceExtension;

static PDEVICE_OBJECT corehubDevice;
static PDEVICE_OBJECT portlaneDevice;

DRIVER_INITIALIZE DriverEntry;

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS DispatchOpenClose(PDEVICE_OBJECT device, PIRP irp) {
    UNREFERENCED_PARAMETER(device);
    return Complete(irp, STATUS_SUCCESS, 0);
}

/* Where the caller's bytes are for each transfer method. A pointer that is
 * missing counts as a buffer of no bytes, so no handler can reach past what
 * the caller gave. Under Wine the device host hands the driver its own
 * copies of the caller's buffers for every method, including neither; on
 * Windows the neither-method pointers would be the caller's own and need
 * probing under structured exception handling, which this compiler lacks. */
static NTSTATUS FindBuffers(PIRP irp, PIO_STACK_LOCATION stack, CorehubRequest* request) {
    NTSTATUS status = STATUS_SUCCESS;
    switch (request->code & 3) {
    case METHOD_BUFFERED:
        request->input = irp->AssociatedIrp.SystemBuffer;
        request->output = irp->AssociatedIrp.SystemBuffer;
        break;
    case METHOD_IN_DIRECT:
    case METHOD_OUT_DIRECT:
        request->input = irp->AssociatedIrp.SystemBuffer;
        request->output = NULL;
        if (request->outputLength != 0 && irp->MdlAddress != NULL) {
            request->output = MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority);
            if (request->output == NULL) status = STATUS_INSUFFICIENT_RESOURCES;
            if (MmGetMdlByteCount(irp->MdlAddress) < request->outputLength) {
                request->outputLength = MmGetMdlByteCount(irp->MdlAddress);
            }
        }
        break;
    default: /* METHOD_NEITHER */
        request->input = stack->Parameters.DeviceIoControl.Type3InputBuffer;
        request->output = irp->UserBuffer;
        break;
    }
    if (request->input == NULL) request->inputLength = 0;
    if (request->output == NULL) request->outputLength = 0;
    return status;
}

static NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    CorehubRequest request;
    RtlZeroMemory(&request, sizeof request);
    request.device = ((DeviceExtension*)device->DeviceExtension)->device;
    request.code = stack->Parameters.DeviceIoControl.IoControlCode;
    request.inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    request.outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    ULONG givenLength = request.inputLength;
    NTSTATUS status = FindBuffers(irp, stack, &request);

    CorehubLock();
    /* Logged before anything is checked: a refused request is still one
     * that a caller sent. */
    if (!CorehubIsPrivateCode(request.device, request.code)) {
        CorehubLogRequest(request.device, request.code, givenLength, request.input, request.inputLength);
    }
    if (NT_SUCCESS(status)) status = CorehubHandleRequest(&request);
    CorehubUnlock();

    return Complete(irp, status, NT_SUCCESS(status) ? request.information : 0);
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
