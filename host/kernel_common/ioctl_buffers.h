/* What the stand-in kernel drivers share: finding a device-control
 * request's buffers for its transfer method, and completing a request. */
#pragma once

#include <ntddk.h>

typedef struct IoctlBuffers {
    const UCHAR* input; /* NULL when the caller gave none; its length is then 0 */
    ULONG inputLength;
    UCHAR* output; /* NULL when the caller gave none; its length is then 0 */
    ULONG outputLength;
} IoctlBuffers;

/* The buffers of the request in the stack location, by the low two bits of
 * its control code. A pointer that is missing counts as a buffer of no
 * bytes, so no handler can reach past what the caller gave. */
NTSTATUS FindIoctlBuffers(PIRP irp, PIO_STACK_LOCATION stack, IoctlBuffers* buffers);

NTSTATUS CompleteIrp(PIRP irp, NTSTATUS status, ULONG_PTR information);
