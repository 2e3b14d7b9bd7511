/* What the station-manager stand-in (corehub.sys) and its tools share: the
 * device names, the control codes of the product's series that it answers,
 * and the private control codes through which stationctl.exe plays the
 * station side. C, so the kernel driver can include it. */
#ifndef COREHUB_PROTOCOL_H
#define COREHUB_PROTOCOL_H

#include <stdint.h>

/* ---- Devices ----------------------------------------------------------- */
/* \\.\Corehub: the control channel of the control center and the station
 * query of the setup library. */
#define COREHUB_DEVICE_NAME L"\\Device\\Corehub"
#define COREHUB_LINK_NAME L"\\DosDevices\\Corehub"
#define COREHUB_WIN32_NAME "\\\\.\\Corehub"
/* \\.\Portlane: the station I/O device that takes the station request. */
#define PORTLANE_DEVICE_NAME L"\\Device\\Portlane"
#define PORTLANE_LINK_NAME L"\\DosDevices\\Portlane"
#define PORTLANE_WIN32_NAME "\\\\.\\Portlane"

/* ---- The product's control codes -------------------------------------- */
/* The low two bits choose the transfer method (0 buffered, 1 in-direct,
 * 2 out-direct, 3 neither); the driver reads each code's buffers
 * accordingly. */
#define COREHUB_LAUNCH_STATION 0x220802u   /* LaunchRecord, 68 bytes */
#define COREHUB_FIRST_LAUNCH 0x220803u     /* LaunchRecord */
#define COREHUB_NEXT_LAUNCH 0x220804u      /* LaunchRecord */
#define COREHUB_FIRST_TASK 0x220806u       /* TaskRecord, 28 bytes */
#define COREHUB_NEXT_TASK 0x220807u        /* TaskRecord */
#define COREHUB_FIRST_PROGRAM 0x220808u    /* ProgramRecord, 224 bytes */
#define COREHUB_NEXT_PROGRAM 0x220809u     /* ProgramRecord */
#define COREHUB_FIRST_DEVICE 0x22080Au     /* DeviceBlock, 80 bytes */
#define COREHUB_NEXT_DEVICE 0x22080Bu      /* DeviceBlock */
#define COREHUB_STOP_STATION 0x22080Cu     /* LaunchRecord */
#define COREHUB_SEND_TEXT 0x22080Du        /* TextRecord, 256 bytes */
#define COREHUB_PREPARE_SHUTDOWN 0x22080Eu /* 4-byte mode */
#define COREHUB_EXECUTE_SHUTDOWN 0x220810u /* 2-byte mode */
#define COREHUB_QUERY_PENDING 0x220813u    /* no buffers; byte count != 0: busy */
#define COREHUB_AUTO_LAUNCH 0x22081Au      /* no buffers */
/* Asked on \\.\Corehub by the setup library: byte count != 0 means the
 * caller runs at a station. */
#define COREHUB_STATION_QUERY 0x813u
/* Taken on \\.\Portlane: the station's IO handle travels as the input
 * pointer itself, with length 0. */
#define PORTLANE_STATION_REQUEST 0x801u

#define COREHUB_LAUNCH_RECORD_SIZE 68u
#define COREHUB_TASK_RECORD_SIZE 28u
#define COREHUB_PROGRAM_RECORD_SIZE 224u
#define COREHUB_DEVICE_BLOCK_SIZE 80u
#define COREHUB_TEXT_RECORD_SIZE 256u

/* ---- Private control codes (stationctl only) ------------------------- */
/* Outside the product's series: own device type, buffered, any access.
 * They are not written to the request log. Both devices take them, so the
 * station side still reaches the driver while \\.\Corehub is absent. */
#define COREHUB_PRIVATE_TYPE 0x8C0Fu
#define COREHUB_PRIVATE_CODE(function) ((COREHUB_PRIVATE_TYPE << 16) | ((0x900u + (function)) << 2))

/* No input. Clears the request log and every piece of state: launched
 * stations, tasks, programs, texts, shutdown request, pending work,
 * at-station answer, failing code, reply mode; every device is reported
 * again. */
#define COREHUB_PRIVATE_RESET COREHUB_PRIVATE_CODE(0)
/* Input: uint32_t first entry. Output: CorehubLogPage followed by as many
 * CorehubLogEntry as fit in the output buffer. */
#define COREHUB_PRIVATE_READ_LOG COREHUB_PRIVATE_CODE(1)
/* Input: uint32_t, 0 or 1. QUERY_PENDING reports work while it is 1. */
#define COREHUB_PRIVATE_SET_PENDING COREHUB_PRIVATE_CODE(2)
/* Input: uint32_t, 0 or 1. STATION_QUERY answers "at a station" while 1. */
#define COREHUB_PRIVATE_SET_AT_STATION COREHUB_PRIVATE_CODE(3)
/* Input: CorehubDeviceSwitch. Removes a device from the reported list or
 * brings it back. Fails for an ID the driver does not know. */
#define COREHUB_PRIVATE_SET_DEVICE COREHUB_PRIVATE_CODE(4)
/* Input: CorehubProgramStart. Starts a program in a new task of a launched
 * station. Fails when the station is not launched or the tables are full.
 * Output (optional, 4 bytes): the new task key. */
#define COREHUB_PRIVATE_START_PROGRAM COREHUB_PRIVATE_CODE(5)
/* No input. Output: CorehubStatus. */
#define COREHUB_PRIVATE_READ_STATUS COREHUB_PRIVATE_CODE(6)
/* Input: uint32_t first text. Output: uint32_t count of texts kept, then as
 * many 256-byte texts (oldest first) as fit in the output buffer. */
#define COREHUB_PRIVATE_READ_TEXTS COREHUB_PRIVATE_CODE(7)
/* Input: CorehubLaunchEntry. Lists a launched station without any check,
 * at any index (not only 0 to 7), so enumerations longer than eight can be
 * tried. No hive marker, no programs. */
#define COREHUB_PRIVATE_ADD_LAUNCH COREHUB_PRIVATE_CODE(8)

/* Input: uint32_t, 0 or 1. While 1, opening \\.\Corehub fails as if no
 * driver were loaded (handles already open keep working), so the control
 * center can be tried without its driver. */
#define COREHUB_PRIVATE_SET_ABSENT COREHUB_PRIVATE_CODE(9)
/* Input: uint32_t control code, 0 for none. While set, every request of
 * that code on \\.\Corehub is logged and then fails, so the control
 * center's answer to a refused request can be tried. */
#define COREHUB_PRIVATE_SET_FAILING_CODE COREHUB_PRIVATE_CODE(10)

/* Input: CorehubReplyMode. Bends every successful answer to one control
 * code (0: every code that is not private, on both devices) until it is
 * set back to COREHUB_REPLY_NORMAL or the driver is reset, so the callers'
 * handling of odd byte counts and contents can be tried. The request is
 * still served; only its answer changes. */
#define COREHUB_PRIVATE_SET_REPLY_MODE COREHUB_PRIVATE_CODE(11)
#define COREHUB_REPLY_NORMAL 0u
/* Half the bytes of the answer are counted (what the I/O layer copies back
 * of a buffered answer). */
#define COREHUB_REPLY_SHORT 1u
/* The count exceeds the caller's output buffer by COREHUB_REPLY_LONG_EXTRA
 * bytes, but never what the I/O layer can copy from its own buffer: for
 * buffered codes that is the larger of the two lengths, so their count
 * cannot grow past the record. */
#define COREHUB_REPLY_LONG 2u
/* No bytes are counted. */
#define COREHUB_REPLY_ZERO 3u
/* The whole output buffer is filled with bytes of a generator started from
 * the mode's seed; the count stays as it was. */
#define COREHUB_REPLY_RANDOM 4u
#define COREHUB_REPLY_LONG_EXTRA 64u

#define COREHUB_LOG_CAPACITY 512u /* oldest entries give way */
#define COREHUB_LOG_INPUT_BYTES 256u
#define COREHUB_TEXT_CAPACITY 32u /* oldest texts give way */
#define COREHUB_LAUNCH_CAPACITY 64u
#define COREHUB_TASK_CAPACITY 256u
#define COREHUB_PROGRAM_CAPACITY 512u

#pragma pack(push, 1)

typedef struct CorehubLogPage {
    uint32_t total;    /* entries kept in the log */
    uint32_t returned; /* entries that follow this header */
} CorehubLogPage;

typedef struct CorehubLogEntry {
    uint32_t sequence;                      /* counts every request since the last reset */
    uint32_t device;                        /* 0 Corehub, 1 Portlane */
    uint32_t code;                          /* control code */
    uint32_t inputLength;                   /* length the caller gave */
    uint8_t input[COREHUB_LOG_INPUT_BYTES]; /* its first bytes; rest zero */
} CorehubLogEntry;

typedef struct CorehubDeviceSwitch {
    uint16_t deviceId;
    uint16_t present; /* 0 removed, 1 reported */
} CorehubDeviceSwitch;

typedef struct CorehubProgramStart {
    int32_t stationIndex;
    char task[20];     /* task name, zero-terminated */
    char command[128]; /* command text, zero-terminated */
} CorehubProgramStart;

typedef struct CorehubLaunchEntry {
    char stationName[32];
    char userName[32];
    int32_t stationIndex;
} CorehubLaunchEntry;

typedef struct CorehubReplyMode {
    uint32_t code; /* control code; 0 for every code that is not private */
    uint32_t mode; /* COREHUB_REPLY_... */
    uint32_t seed; /* starts the generator of COREHUB_REPLY_RANDOM */
} CorehubReplyMode;

typedef struct CorehubStatus {
    uint32_t shutdownMode;  /* mode of the last PREPARE_SHUTDOWN */
    uint32_t shutdownStage; /* 0 none, 1 prepared, 2 executed */
    uint32_t executeMode;   /* the 16-bit mode of EXECUTE_SHUTDOWN */
    uint32_t pending;
    uint32_t atStation;
    uint32_t launchCount;
    uint32_t taskCount;
    uint32_t programCount;
    uint32_t textCount;
    uint32_t requestCount; /* requests since the last reset */
} CorehubStatus;

#pragma pack(pop)

#endif
