/* s3w32d.sys: the S3 display support driver as the host PC runs it. Serves
 * \\.\S3W32D.VXD, which the setup library opens to find the Savage board and
 * have its registry entries massaged, and \\.\S3W32D.CTL, through which the
 * station side makes either request fail, makes the device disappear and
 * reads what arrived. */
#include <ntddk.h>

#include "ioctl_buffers.h"
#include "s3w32d_protocol.h"
#include "stand_in_devices.h"

#define PRODUCT_DEVICE 0u
#define CONTROL_DEVICE 1u

/* One request, its buffers found for its transfer method. Input and output
 * may be the same memory (buffered), so handlers read before they write. */
typedef struct Request {
    ULONG code;
    const UCHAR* input; /* NULL when there is none; its length is then 0 */
    ULONG inputLength;
    UCHAR* output; /* NULL when there is none; its length is then 0 */
    ULONG outputLength;
    ULONG givenInputLength; /* as the caller gave them, for the log */
    ULONG givenOutputLength;
    ULONG_PTR information;
} Request;

static PDEVICE_OBJECT productDevice;
static PDEVICE_OBJECT controlDevice;

/* A KMUTEX, as in corehub.sys: requests arrive at PASSIVE_LEVEL from any
 * thread of the device host. */
static KMUTEX stateLock;
static ULONG failMask;
static BOOLEAN absent;
static ULONG opens;
static ULONG openHandles;
static ULONG findCount;
static ULONG massageCount;
static ULONG otherCount;
static S3w32dLogEntry logEntries[S3W32D_LOG_CAPACITY];
static ULONG logOldest;
static ULONG logKept;

DRIVER_INITIALIZE DriverEntry;

static void Lock(void) {
    KeWaitForSingleObject(&stateLock, Executive, KernelMode, FALSE, NULL);
}

static void Unlock(void) {
    KeReleaseMutex(&stateLock, FALSE);
}

static void SetAbsent(BOOLEAN now) {
    if (now != absent) SetStandInLinkPresent(S3W32D_DEVICE_NAME, S3W32D_LINK_NAME, !now);
    absent = now;
}

static void ResetState(void) {
    failMask = 0;
    SetAbsent(FALSE);
    opens = 0;
    findCount = 0;
    massageCount = 0;
    otherCount = 0;
    RtlZeroMemory(logEntries, sizeof logEntries);
    logOldest = 0;
    logKept = 0;
}

static void LogRequest(const Request* request, NTSTATUS status) {
    ULONG slot;
    if (logKept < S3W32D_LOG_CAPACITY) {
        slot = (logOldest + logKept) % S3W32D_LOG_CAPACITY;
        ++logKept;
    } else {
        slot = logOldest;
        logOldest = (logOldest + 1) % S3W32D_LOG_CAPACITY;
    }
    logEntries[slot].code = request->code;
    logEntries[slot].inputLength = request->givenInputLength;
    logEntries[slot].outputLength = request->givenOutputLength;
    logEntries[slot].status = (uint32_t)status;
}

/* ---- The product's device ------------------------------------------------ */

static NTSTATUS Answer(Request* request, ULONG failBit, ULONG* counter) {
    ++*counter;
    if (failMask & failBit) return STATUS_UNSUCCESSFUL;
    /* The answer says nothing the caller uses; it gets zeros, never more
     * than the room it gave. */
    ULONG size = request->outputLength < S3W32D_ANSWER_BYTES ? request->outputLength : S3W32D_ANSWER_BYTES;
    if (size != 0) RtlZeroMemory(request->output, size);
    request->information = size;
    return STATUS_SUCCESS;
}

static NTSTATUS HandleProduct(Request* request) {
    NTSTATUS status;
    switch (request->code) {
    case S3W32D_FIND_BOARD:
        status = Answer(request, S3W32D_FAIL_FIND, &findCount);
        break;
    case S3W32D_MASSAGE_REGISTRY:
        status = Answer(request, S3W32D_FAIL_MASSAGE, &massageCount);
        break;
    default:
        ++otherCount;
        status = STATUS_INVALID_DEVICE_REQUEST;
        break;
    }
    LogRequest(request, status);
    return status;
}

/* ---- The control device -------------------------------------------------- */

static NTSTATUS ReadValue(const Request* request, ULONG* value) {
    if (request->inputLength < sizeof(uint32_t)) return STATUS_BUFFER_TOO_SMALL;
    uint32_t read;
    RtlCopyMemory(&read, request->input, sizeof read);
    *value = read;
    return STATUS_SUCCESS;
}

static NTSTATUS ReadStatus(Request* request) {
    S3w32dStatus status;
    RtlZeroMemory(&status, sizeof status);
    status.failMask = failMask;
    status.absent = absent ? 1 : 0;
    status.opens = opens;
    status.openHandles = openHandles;
    status.findCount = findCount;
    status.massageCount = massageCount;
    status.otherCount = otherCount;
    status.logCount = logKept;
    for (ULONG i = 0; i < logKept; ++i) status.log[i] = logEntries[(logOldest + i) % S3W32D_LOG_CAPACITY];
    ULONG size = request->outputLength < sizeof status ? request->outputLength : sizeof status;
    if (size != 0) RtlCopyMemory(request->output, &status, size);
    request->information = size;
    return STATUS_SUCCESS;
}

static NTSTATUS HandleControl(Request* request) {
    ULONG value = 0;
    NTSTATUS status;
    switch (request->code) {
    case S3W32D_PRIVATE_RESET:
        ResetState();
        return STATUS_SUCCESS;
    case S3W32D_PRIVATE_SET_FAIL:
        status = ReadValue(request, &value);
        if (NT_SUCCESS(status)) failMask = value & (S3W32D_FAIL_FIND | S3W32D_FAIL_MASSAGE);
        return status;
    case S3W32D_PRIVATE_SET_ABSENT:
        status = ReadValue(request, &value);
        if (NT_SUCCESS(status)) SetAbsent(value != 0);
        return status;
    case S3W32D_PRIVATE_READ_STATUS:
        return ReadStatus(request);
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
}

/* ---- Dispatch ---------------------------------------------------------------- */

static NTSTATUS DispatchCreate(PDEVICE_OBJECT device, PIRP irp) {
    if (StandInDeviceNumber(device) == PRODUCT_DEVICE) {
        Lock();
        ++opens;
        ++openHandles;
        Unlock();
    }
    return CompleteIrp(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchClose(PDEVICE_OBJECT device, PIRP irp) {
    if (StandInDeviceNumber(device) == PRODUCT_DEVICE) {
        Lock();
        if (openHandles != 0) --openHandles;
        Unlock();
    }
    return CompleteIrp(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchCleanup(PDEVICE_OBJECT device, PIRP irp) {
    UNREFERENCED_PARAMETER(device);
    return CompleteIrp(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    Request request;
    RtlZeroMemory(&request, sizeof request);
    request.code = stack->Parameters.DeviceIoControl.IoControlCode;
    request.givenInputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    request.givenOutputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    /* 0x700 is buffered, 0x702 out-direct (its low two bits are 2). */
    IoctlBuffers buffers;
    NTSTATUS status = FindIoctlBuffers(irp, stack, &buffers);
    request.input = buffers.input;
    request.inputLength = buffers.inputLength;
    request.output = buffers.output;
    request.outputLength = buffers.outputLength;

    Lock();
    if (NT_SUCCESS(status)) {
        status = StandInDeviceNumber(device) == PRODUCT_DEVICE ? HandleProduct(&request) : HandleControl(&request);
    } else if (StandInDeviceNumber(device) == PRODUCT_DEVICE) {
        LogRequest(&request, status);
    }
    Unlock();
    return CompleteIrp(irp, status, NT_SUCCESS(status) ? request.information : 0);
}

/* ---- Load and unload ------------------------------------------------------- */

static void DriverUnload(PDRIVER_OBJECT driver) {
    UNREFERENCED_PARAMETER(driver);
    DeleteStandInDevice(&controlDevice, S3W32D_CONTROL_LINK_NAME);
    DeleteStandInDevice(&productDevice, S3W32D_LINK_NAME);
}

NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    UNREFERENCED_PARAMETER(registryPath);
    KeInitializeMutex(&stateLock, 0);

    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCleanup;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->DriverUnload = DriverUnload;

    NTSTATUS status = CreateStandInDevice(driver, PRODUCT_DEVICE, S3W32D_DEVICE_NAME, S3W32D_LINK_NAME, &productDevice);
    if (NT_SUCCESS(status)) {
        status = CreateStandInDevice(driver, CONTROL_DEVICE, S3W32D_CONTROL_DEVICE_NAME, S3W32D_CONTROL_LINK_NAME,
                                     &controlDevice);
    }
    if (!NT_SUCCESS(status)) DriverUnload(driver);
    return status;
}
