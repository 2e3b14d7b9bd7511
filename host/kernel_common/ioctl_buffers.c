#include "ioctl_buffers.h"

/* Under Wine the device host hands the driver its own copies of the
 * caller's buffers for every method, including neither; on Windows the
 * neither-method pointers would be the caller's own and need probing under
 * structured exception handling, which this compiler lacks. */
NTSTATUS FindIoctlBuffers(PIRP irp, PIO_STACK_LOCATION stack, IoctlBuffers* buffers) {
    NTSTATUS status = STATUS_SUCCESS;
    buffers->inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    buffers->outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    switch (stack->Parameters.DeviceIoControl.IoControlCode & 3) {
    case METHOD_BUFFERED:
        buffers->input = irp->AssociatedIrp.SystemBuffer;
        buffers->output = irp->AssociatedIrp.SystemBuffer;
        break;
    case METHOD_IN_DIRECT:
    case METHOD_OUT_DIRECT:
        buffers->input = irp->AssociatedIrp.SystemBuffer;
        buffers->output = NULL;
        if (buffers->outputLength != 0 && irp->MdlAddress != NULL) {
            buffers->output = MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority);
            if (buffers->output == NULL) status = STATUS_INSUFFICIENT_RESOURCES;
            if (MmGetMdlByteCount(irp->MdlAddress) < buffers->outputLength) {
                buffers->outputLength = MmGetMdlByteCount(irp->MdlAddress);
            }
        }
        break;
    default: /* METHOD_NEITHER */
        buffers->input = stack->Parameters.DeviceIoControl.Type3InputBuffer;
        buffers->output = irp->UserBuffer;
        break;
    }
    if (buffers->input == NULL) buffers->inputLength = 0;
    if (buffers->output == NULL) buffers->outputLength = 0;
    return status;
}

NTSTATUS CompleteIrp(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}
