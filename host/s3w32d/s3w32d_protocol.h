/* What the S3 display support stand-in (s3w32d.sys) and its tools share: the
 * device names, the two control codes the setup library sends, and the
 * private control codes through which stationctl.exe switches the driver's
 * answers. C, so the kernel driver can include it. */
#ifndef S3W32D_PROTOCOL_H
#define S3W32D_PROTOCOL_H

#include <stdint.h>

/* ---- Devices ----------------------------------------------------------- */
/* \\.\S3W32D.VXD: the device the setup library opens, with
 * CreateFileA(name, 0, 0, NULL, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, NULL). */
#define S3W32D_DEVICE_NAME L"\\Device\\S3W32D"
#define S3W32D_LINK_NAME L"\\DosDevices\\S3W32D.VXD"
#define S3W32D_WIN32_NAME "\\\\.\\S3W32D.VXD"
/* \\.\S3W32D.CTL: a device of its own for the private codes, so the station
 * side reaches the driver while \\.\S3W32D.VXD is switched absent, and its
 * opens are not counted as the product's. */
#define S3W32D_CONTROL_DEVICE_NAME L"\\Device\\S3W32DControl"
#define S3W32D_CONTROL_LINK_NAME L"\\DosDevices\\S3W32D.CTL"
#define S3W32D_CONTROL_WIN32_NAME "\\\\.\\S3W32D.CTL"

/* ---- The product's control codes -------------------------------------- */
/* The caller sends 4 bytes and gives 8 for the answer; the driver fills
 * what the caller gave, up to 8 bytes, with zeros. Only success or failure
 * carries meaning. The low two bits choose the transfer method: 0x700 is
 * buffered, 0x702 out-direct, and the driver reads each accordingly. */
#define S3W32D_FIND_BOARD 0x700u       /* find the Savage board */
#define S3W32D_MASSAGE_REGISTRY 0x702u /* massage the registry entries */
#define S3W32D_ANSWER_BYTES 8u

/* ---- Private control codes (\\.\S3W32D.CTL only) ---------------------- */
/* Own device type, buffered, any access. */
#define S3W32D_PRIVATE_TYPE 0x8C53u
#define S3W32D_PRIVATE_CODE(function) ((S3W32D_PRIVATE_TYPE << 16) | ((0x900u + (function)) << 2))

/* No input. Both codes succeed again, the device is present, the counts and
 * the request log are cleared. */
#define S3W32D_PRIVATE_RESET S3W32D_PRIVATE_CODE(0)
/* Input: uint32_t, an or of the S3W32D_FAIL_ bits. A code whose bit is set
 * fails with STATUS_UNSUCCESSFUL (Win32 error 31); it is still counted and
 * logged. */
#define S3W32D_PRIVATE_SET_FAIL S3W32D_PRIVATE_CODE(1)
/* Input: uint32_t, 0 or 1. While 1, \\.\S3W32D.VXD has no link, so opening
 * it fails with error 2 as if no driver were loaded; handles already open
 * keep working. */
#define S3W32D_PRIVATE_SET_ABSENT S3W32D_PRIVATE_CODE(2)
/* No input. Output: S3w32dStatus (a shorter buffer gets as much of it as
 * fits). */
#define S3W32D_PRIVATE_READ_STATUS S3W32D_PRIVATE_CODE(3)

#define S3W32D_FAIL_FIND 1u
#define S3W32D_FAIL_MASSAGE 2u

#define S3W32D_LOG_CAPACITY 64u /* the latest requests are kept */

#pragma pack(push, 1)

typedef struct S3w32dLogEntry {
    uint32_t code;
    uint32_t inputLength; /* as the caller gave them */
    uint32_t outputLength;
    uint32_t status; /* the NTSTATUS the driver answered */
} S3w32dLogEntry;

typedef struct S3w32dStatus {
    uint32_t failMask; /* S3W32D_FAIL_ bits */
    uint32_t absent;
    uint32_t opens;        /* opens of \\.\S3W32D.VXD since the last reset */
    uint32_t openHandles;  /* its handles open now (a reset keeps this) */
    uint32_t findCount;    /* FIND_BOARD requests, failed or not */
    uint32_t massageCount; /* MASSAGE_REGISTRY requests, failed or not */
    uint32_t otherCount;   /* any other code on \\.\S3W32D.VXD (refused) */
    uint32_t logCount;     /* entries in log, oldest first */
    S3w32dLogEntry log[S3W32D_LOG_CAPACITY];
} S3w32dStatus;

#pragma pack(pop)

#endif
