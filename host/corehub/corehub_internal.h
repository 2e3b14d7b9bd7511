/* What the parts of corehub.sys share among themselves; nothing here crosses
 * the driver's boundary (that is corehub_protocol.h). */
#ifndef COREHUB_INTERNAL_H
#define COREHUB_INTERNAL_H

#include <ntddk.h>

#include "corehub_protocol.h"

/* The two devices the driver serves; also the device number in the log. */
#define COREHUB_DEVICE 0u
#define PORTLANE_DEVICE 1u

/* Launches through the product's code are limited to the eight stations a
 * host can drive. */
#define COREHUB_STATION_COUNT 8

/* Longest name kept in a 32-byte field, and longest command text. */
#define COREHUB_NAME_CHARS 31u
#define COREHUB_COMMAND_CHARS 127u
#define COREHUB_TASK_NAME_CHARS 19u

/* ---- One request, its buffers already resolved for its transfer method -- */
typedef struct CorehubRequest {
    ULONG device; /* COREHUB_DEVICE or PORTLANE_DEVICE */
    ULONG code;
    const UCHAR* input; /* NULL when the caller gave none */
    ULONG inputLength;
    UCHAR* output; /* NULL when the caller gave none */
    ULONG outputLength;
    ULONG_PTR information; /* bytes answered, set on success */
} CorehubRequest;

/* corehub_codes.c: what each control code does. Runs with the state lock
 * held and at PASSIVE_LEVEL. */
BOOLEAN CorehubIsPrivateCode(ULONG device, ULONG code);
NTSTATUS CorehubHandleRequest(CorehubRequest* request);

/* ---- corehub_state.c: the tables ---------------------------------------- */
typedef struct CorehubTaskInfo {
    uint32_t key;
    int32_t stationIndex;
    char name[COREHUB_TASK_NAME_CHARS + 1];
} CorehubTaskInfo;

typedef struct CorehubProgramInfo {
    uint32_t position;
    uint32_t taskKey;
    char command[COREHUB_COMMAND_CHARS + 1];
} CorehubProgramInfo;

typedef struct CorehubDeviceInfo {
    uint16_t id;
    uint8_t major;
    uint8_t minor;
    char name[8]; /* blank-padded, as the VMM keeps it */
} CorehubDeviceInfo;

void CorehubStateInitialize(void);
void CorehubLock(void);
void CorehubUnlock(void);
/* Everything back to how the driver started (the log is cleared apart). */
void CorehubStateReset(void);

/* marked: the launch gave the user a marker key, which goes when the
 * station stops. */
NTSTATUS CorehubAddStation(const CorehubLaunchEntry* station, BOOLEAN marked);
/* Lists the station (marked) and starts its default tasks, or changes
 * nothing. */
NTSTATUS CorehubAddStationWithDefaults(const CorehubLaunchEntry* station);
BOOLEAN CorehubIsStationListed(int32_t stationIndex);
/* The listed station with the smallest index; with afterValid, the smallest
 * index greater than after. marked may be NULL. */
BOOLEAN CorehubStationFrom(BOOLEAN afterValid, int32_t after, CorehubLaunchEntry* station, BOOLEAN* marked);
/* Removes the station with that index whose name matches ignoring case,
 * together with its tasks and programs. */
NTSTATUS CorehubRemoveStation(int32_t stationIndex, const char* stationName, CorehubLaunchEntry* removed,
                              BOOLEAN* marked);
/* Whether a listed station still relies on the user's marker key. */
BOOLEAN CorehubIsMarkerInUse(const char* userName);

/* A new task of a listed station running the given commands. */
NTSTATUS CorehubStartTask(int32_t stationIndex, const char* taskName, const char* const* commands, ULONG commandCount,
                          uint32_t* taskKey);
BOOLEAN CorehubTaskFrom(BOOLEAN afterValid, uint32_t after, CorehubTaskInfo* task);
BOOLEAN CorehubProgramFrom(BOOLEAN afterValid, uint32_t after, CorehubProgramInfo* program);

/* The first reported device whose ordinal is at least ordinal. */
BOOLEAN CorehubDeviceFrom(uint32_t ordinal, CorehubDeviceInfo* device, uint32_t* foundOrdinal);
NTSTATUS CorehubSetDevicePresent(uint16_t deviceId, BOOLEAN present);

void CorehubAddText(const char* text); /* at most 255 characters are kept */
uint32_t CorehubTextCount(void);
const char* CorehubTextAt(uint32_t index); /* 0 is the oldest kept */

void CorehubSetShutdownPrepared(uint32_t mode);
void CorehubSetShutdownExecuted(uint16_t mode);
void CorehubSetPending(BOOLEAN pending);
BOOLEAN CorehubIsPending(void);
void CorehubSetAtStation(BOOLEAN atStation);
BOOLEAN CorehubIsAtStation(void);
/* While set, \\.\Corehub cannot be opened, as if no driver were loaded. */
void CorehubSetAbsent(BOOLEAN absent);
/* While set (not 0), requests of that control code fail. */
void CorehubSetFailingCode(uint32_t code);
BOOLEAN CorehubFails(uint32_t code);
/* Creates or deletes the \\.\Corehub link (corehub_driver.c). */
void CorehubSetLinkPresent(BOOLEAN present);
void CorehubReadStatus(CorehubStatus* status);

/* ---- corehub_replies.c: answers bent for the callers' tests -------------- */
/* code 0 bends every code that is not private; COREHUB_REPLY_NORMAL none.
 * The random bytes start again from seed. */
void CorehubSetReplyMode(uint32_t code, uint32_t mode, uint32_t seed);
/* Changes a successful answer as the mode says. */
void CorehubBendReply(CorehubRequest* request);

/* ---- corehub_log.c: the request log -------------------------------------- */
void CorehubLogReset(void);
/* inputLength is what the caller gave; available, how many bytes of it the
 * driver can read at input. */
void CorehubLogRequest(ULONG device, ULONG code, ULONG inputLength, const UCHAR* input, ULONG available);
uint32_t CorehubLogCount(void);
const CorehubLogEntry* CorehubLogEntryAt(uint32_t index); /* 0 is the oldest kept */
uint32_t CorehubLogRequestCount(void);

/* ---- corehub_registry.c: the product's branch and the user hives -------- */
typedef struct CorehubStationSetup {
    BOOLEAN detected;
    BOOLEAN autoLaunch;
    char stationName[COREHUB_NAME_CHARS + 1]; /* "Station<n>" when unset */
    char userName[COREHUB_NAME_CHARS + 1];    /* empty when unset */
} CorehubStationSetup;

/* number is 1 to 8, as in the key names Station1 to Station8. */
BOOLEAN CorehubIsStationDetected(ULONG number);
void CorehubReadStationSetup(ULONG number, CorehubStationSetup* setup);
NTSTATUS CorehubRecordAutoLaunch(ULONG number, const char* userName);
void CorehubCreateUserMarker(const char* userName);
void CorehubDeleteUserMarker(const char* userName);

/* ---- Small helpers shared by the parts (corehub_state.c) ----------------- */
/* Copies at most maxChars characters of a field of fieldSize bytes that need
 * not be terminated; target gets maxChars + 1 bytes, zero-filled. */
void CorehubCopyText(char* target, ULONG maxChars, const char* source, ULONG fieldSize);
/* ASCII comparison ignoring case, as the product compares names. */
BOOLEAN CorehubSameName(const char* left, const char* right);

#endif
