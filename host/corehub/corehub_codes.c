/* What each control code does: the records it reads and writes, and the
 * state it changes. Buffers arrive resolved for the code's transfer method;
 * input and output may be the same memory, so every handler reads what it
 * needs from the input before it writes the output. Runs with the state
 * lock held. */
#include "corehub_internal.h"

/* ---- Record layouts --------------------------------------------------------- */
#define LAUNCH_USER_OFFSET 32u
#define LAUNCH_INDEX_OFFSET 64u
#define TASK_KEY_OFFSET 20u
#define TASK_STATION_OFFSET 24u
#define PROGRAM_TASK_OFFSET 20u
#define PROGRAM_POSITION_OFFSET 60u
#define PROGRAM_COMMAND_OFFSET 96u
#define RECORD_NAME_BYTES 20u
#define DDB_NEXT_OFFSET 0u
#define DDB_SDK_VERSION_OFFSET 4u
#define DDB_DEVICE_NUMBER_OFFSET 6u
#define DDB_MAJOR_OFFSET 8u
#define DDB_MINOR_OFFSET 9u
#define DDB_NAME_OFFSET 12u
#define DDB_SIZE_OFFSET 64u
#define DDB_SDK_VERSION 0x0400u

static uint32_t Get32(const UCHAR* record, ULONG offset) {
    uint32_t value;
    RtlCopyMemory(&value, record + offset, sizeof value);
    return value;
}

static void Put32(UCHAR* record, ULONG offset, uint32_t value) {
    RtlCopyMemory(record + offset, &value, sizeof value);
}

static void Put16(UCHAR* record, ULONG offset, uint16_t value) {
    RtlCopyMemory(record + offset, &value, sizeof value);
}

static void PutText(UCHAR* record, ULONG offset, const char* text, ULONG fieldSize) {
    ULONG length = 0;
    while (length + 1 < fieldSize && text[length] != '\0') ++length;
    RtlCopyMemory(record + offset, text, length);
}

/* A request of the product's series carries one record both ways; a buffer
 * too short for it in either direction refuses the request. */
static NTSTATUS NeedRecord(const CorehubRequest* request, ULONG size) {
    if (request->inputLength < size || request->outputLength < size) return STATUS_BUFFER_TOO_SMALL;
    return STATUS_SUCCESS;
}

static NTSTATUS Answered(CorehubRequest* request, ULONG size) {
    request->information = size;
    return STATUS_SUCCESS;
}

/* Requests without buffers answer through the byte count alone. A caller
 * that does give an output buffer gets the answer in it, and the count never
 * exceeds it: the I/O layer copies that many bytes out of it. */
static NTSTATUS AnsweredByCount(CorehubRequest* request, BOOLEAN yes) {
    if (!yes) return Answered(request, 0);
    if (request->outputLength == 0) return Answered(request, sizeof(uint32_t));
    ULONG size = request->outputLength < sizeof(uint32_t) ? request->outputLength : sizeof(uint32_t);
    RtlZeroMemory(request->output, size);
    request->output[0] = 1;
    return Answered(request, size);
}

/* ---- Launched stations ------------------------------------------------------ */

static void ReadLaunchRecord(const UCHAR* record, CorehubLaunchEntry* entry) {
    CorehubCopyText(entry->stationName, COREHUB_NAME_CHARS, (const char*)record, sizeof entry->stationName);
    CorehubCopyText(entry->userName, COREHUB_NAME_CHARS, (const char*)record + LAUNCH_USER_OFFSET,
                    sizeof entry->userName);
    entry->stationIndex = (int32_t)Get32(record, LAUNCH_INDEX_OFFSET);
}

static NTSTATUS WriteLaunchRecord(CorehubRequest* request, const CorehubLaunchEntry* entry) {
    RtlZeroMemory(request->output, COREHUB_LAUNCH_RECORD_SIZE);
    PutText(request->output, 0, entry->stationName, sizeof entry->stationName);
    PutText(request->output, LAUNCH_USER_OFFSET, entry->userName, sizeof entry->userName);
    Put32(request->output, LAUNCH_INDEX_OFFSET, (uint32_t)entry->stationIndex);
    return Answered(request, COREHUB_LAUNCH_RECORD_SIZE);
}

/* Launching through the product's codes: one of the eight stations, not
 * running yet, and present on its board. */
static NTSTATUS Launch(const CorehubLaunchEntry* entry) {
    if (entry->stationIndex < 0 || entry->stationIndex >= COREHUB_STATION_COUNT) return STATUS_INVALID_PARAMETER;
    if (CorehubIsStationListed(entry->stationIndex)) return STATUS_OBJECT_NAME_COLLISION;
    if (!CorehubIsStationDetected((ULONG)entry->stationIndex + 1)) return STATUS_DEVICE_NOT_CONNECTED;
    NTSTATUS status = CorehubAddStationWithDefaults(entry);
    if (NT_SUCCESS(status)) CorehubCreateUserMarker(entry->userName);
    return status;
}

static NTSTATUS LaunchStation(CorehubRequest* request) {
    NTSTATUS status = NeedRecord(request, COREHUB_LAUNCH_RECORD_SIZE);
    if (!NT_SUCCESS(status)) return status;
    CorehubLaunchEntry entry;
    ReadLaunchRecord(request->input, &entry);
    status = Launch(&entry);
    if (!NT_SUCCESS(status)) return status;
    return WriteLaunchRecord(request, &entry);
}

static NTSTATUS EnumerateLaunch(CorehubRequest* request, BOOLEAN next) {
    NTSTATUS status = NeedRecord(request, COREHUB_LAUNCH_RECORD_SIZE);
    if (!NT_SUCCESS(status)) return status;
    int32_t after = (int32_t)Get32(request->input, LAUNCH_INDEX_OFFSET);
    CorehubLaunchEntry entry;
    if (!CorehubStationFrom(next, after, &entry, NULL)) return STATUS_NO_MORE_ENTRIES;
    return WriteLaunchRecord(request, &entry);
}

static NTSTATUS StopStation(CorehubRequest* request) {
    NTSTATUS status = NeedRecord(request, COREHUB_LAUNCH_RECORD_SIZE);
    if (!NT_SUCCESS(status)) return status;
    CorehubLaunchEntry entry;
    CorehubLaunchEntry removed;
    BOOLEAN marked;
    ReadLaunchRecord(request->input, &entry);
    status = CorehubRemoveStation(entry.stationIndex, entry.stationName, &removed, &marked);
    if (!NT_SUCCESS(status)) return status;
    /* The user may still be working at another station. */
    if (marked && !CorehubIsMarkerInUse(removed.userName)) CorehubDeleteUserMarker(removed.userName);
    return WriteLaunchRecord(request, &removed);
}

static NTSTATUS AutoLaunch(CorehubRequest* request) {
    for (ULONG number = 1; number <= COREHUB_STATION_COUNT; ++number) {
        CorehubStationSetup setup;
        CorehubReadStationSetup(number, &setup);
        if (!setup.detected || !setup.autoLaunch) continue;
        CorehubLaunchEntry entry;
        RtlZeroMemory(&entry, sizeof entry);
        CorehubCopyText(entry.stationName, COREHUB_NAME_CHARS, setup.stationName, sizeof setup.stationName);
        CorehubCopyText(entry.userName, COREHUB_NAME_CHARS, setup.userName, sizeof setup.userName);
        entry.stationIndex = (int32_t)number - 1;
        if (NT_SUCCESS(Launch(&entry))) CorehubRecordAutoLaunch(number, entry.userName);
    }
    return Answered(request, 0);
}

/* ---- Tasks, programs, devices ------------------------------------------------ */

static NTSTATUS EnumerateTask(CorehubRequest* request, BOOLEAN next) {
    NTSTATUS status = NeedRecord(request, COREHUB_TASK_RECORD_SIZE);
    if (!NT_SUCCESS(status)) return status;
    CorehubTaskInfo task;
    if (!CorehubTaskFrom(next, Get32(request->input, TASK_KEY_OFFSET), &task)) return STATUS_NO_MORE_ENTRIES;
    RtlZeroMemory(request->output, COREHUB_TASK_RECORD_SIZE);
    PutText(request->output, 0, task.name, RECORD_NAME_BYTES);
    Put32(request->output, TASK_KEY_OFFSET, task.key);
    Put32(request->output, TASK_STATION_OFFSET, (uint32_t)task.stationIndex);
    return Answered(request, COREHUB_TASK_RECORD_SIZE);
}

/* The program's file name, as a process list shows it: the first word of
 * the command (or its quoted part) without the folder. */
static void ProgramName(const char* command, char* name) {
    const char* start = command;
    char end = ' ';
    if (*start == '"') {
        ++start;
        end = '"';
    }
    const char* stop = start;
    while (*stop != '\0' && *stop != end) ++stop;
    for (const char* c = start; c < stop; ++c) {
        if (*c == '\\' || *c == '/' || *c == ':') start = c + 1;
    }
    ULONG length = (ULONG)(stop - start);
    CorehubCopyText(name, RECORD_NAME_BYTES - 1, start, length);
}

static NTSTATUS EnumerateProgram(CorehubRequest* request, BOOLEAN next) {
    NTSTATUS status = NeedRecord(request, COREHUB_PROGRAM_RECORD_SIZE);
    if (!NT_SUCCESS(status)) return status;
    CorehubProgramInfo program;
    if (!CorehubProgramFrom(next, Get32(request->input, PROGRAM_POSITION_OFFSET), &program)) {
        return STATUS_NO_MORE_ENTRIES;
    }
    char name[RECORD_NAME_BYTES];
    ProgramName(program.command, name);
    RtlZeroMemory(request->output, COREHUB_PROGRAM_RECORD_SIZE);
    PutText(request->output, 0, name, RECORD_NAME_BYTES);
    Put32(request->output, PROGRAM_TASK_OFFSET, program.taskKey);
    Put32(request->output, PROGRAM_POSITION_OFFSET, program.position);
    PutText(request->output, PROGRAM_COMMAND_OFFSET, program.command,
            COREHUB_PROGRAM_RECORD_SIZE - PROGRAM_COMMAND_OFFSET);
    return Answered(request, COREHUB_PROGRAM_RECORD_SIZE);
}

/* Device blocks are laid out as the VMM's device descriptor blocks; the link
 * is the next ordinal to look at, so the walk survives devices coming and
 * going between requests. */
static NTSTATUS EnumerateDevice(CorehubRequest* request, BOOLEAN next) {
    NTSTATUS status = NeedRecord(request, COREHUB_DEVICE_BLOCK_SIZE);
    if (!NT_SUCCESS(status)) return status;
    uint32_t from = next ? Get32(request->input, DDB_NEXT_OFFSET) : 0;
    CorehubDeviceInfo device;
    uint32_t ordinal;
    if (!CorehubDeviceFrom(from, &device, &ordinal)) return STATUS_NO_MORE_ENTRIES;
    RtlZeroMemory(request->output, COREHUB_DEVICE_BLOCK_SIZE);
    Put32(request->output, DDB_NEXT_OFFSET, ordinal + 1);
    Put16(request->output, DDB_SDK_VERSION_OFFSET, DDB_SDK_VERSION);
    Put16(request->output, DDB_DEVICE_NUMBER_OFFSET, device.id);
    request->output[DDB_MAJOR_OFFSET] = device.major;
    request->output[DDB_MINOR_OFFSET] = device.minor;
    RtlCopyMemory(request->output + DDB_NAME_OFFSET, device.name, sizeof device.name);
    Put32(request->output, DDB_SIZE_OFFSET, COREHUB_DEVICE_BLOCK_SIZE);
    return Answered(request, COREHUB_DEVICE_BLOCK_SIZE);
}

/* ---- Texts and shutdown -------------------------------------------------------- */

static NTSTATUS SendText(CorehubRequest* request) {
    NTSTATUS status = NeedRecord(request, COREHUB_TEXT_RECORD_SIZE);
    if (!NT_SUCCESS(status)) return status;
    CorehubAddText((const char*)request->input);
    const char* kept = CorehubTextAt(CorehubTextCount() - 1);
    RtlCopyMemory(request->output, kept, COREHUB_TEXT_RECORD_SIZE);
    return Answered(request, COREHUB_TEXT_RECORD_SIZE);
}

static NTSTATUS PrepareShutdown(CorehubRequest* request) {
    NTSTATUS status = NeedRecord(request, sizeof(uint32_t));
    if (!NT_SUCCESS(status)) return status;
    uint32_t mode = Get32(request->input, 0);
    CorehubSetShutdownPrepared(mode);
    Put32(request->output, 0, mode);
    return Answered(request, sizeof(uint32_t));
}

static NTSTATUS ExecuteShutdown(CorehubRequest* request) {
    NTSTATUS status = NeedRecord(request, sizeof(uint16_t));
    if (!NT_SUCCESS(status)) return status;
    uint16_t mode;
    RtlCopyMemory(&mode, request->input, sizeof mode);
    CorehubSetShutdownExecuted(mode);
    Put16(request->output, 0, mode);
    return Answered(request, sizeof(uint16_t));
}

/* ---- Private codes of the station side ----------------------------------------- */

static NTSTATUS NeedInput(const CorehubRequest* request, ULONG size) {
    return request->inputLength < size ? STATUS_BUFFER_TOO_SMALL : STATUS_SUCCESS;
}

static NTSTATUS NeedOutput(const CorehubRequest* request, ULONG size) {
    return request->outputLength < size ? STATUS_BUFFER_TOO_SMALL : STATUS_SUCCESS;
}

/* A reset ends every launched station, so the markers their launches made
 * go too. */
static NTSTATUS Reset(CorehubRequest* request) {
    CorehubLaunchEntry entry;
    BOOLEAN marked = FALSE;
    BOOLEAN found = CorehubStationFrom(FALSE, 0, &entry, &marked);
    while (found) {
        if (marked) CorehubDeleteUserMarker(entry.userName);
        found = CorehubStationFrom(TRUE, entry.stationIndex, &entry, &marked);
    }
    CorehubStateReset();
    CorehubLogReset();
    return Answered(request, 0);
}

static NTSTATUS ReadLog(CorehubRequest* request) {
    NTSTATUS status = NeedInput(request, sizeof(uint32_t));
    if (NT_SUCCESS(status)) status = NeedOutput(request, sizeof(CorehubLogPage));
    if (!NT_SUCCESS(status)) return status;
    uint32_t first = Get32(request->input, 0);
    CorehubLogPage page = {CorehubLogCount(), 0};
    ULONG room = (request->outputLength - sizeof page) / sizeof(CorehubLogEntry);
    UCHAR* at = request->output + sizeof page;
    for (uint32_t index = first; index < page.total && page.returned < room; ++index) {
        RtlCopyMemory(at, CorehubLogEntryAt(index), sizeof(CorehubLogEntry));
        at += sizeof(CorehubLogEntry);
        ++page.returned;
    }
    RtlCopyMemory(request->output, &page, sizeof page);
    return Answered(request, sizeof page + page.returned * sizeof(CorehubLogEntry));
}

static NTSTATUS ReadSwitch(CorehubRequest* request, BOOLEAN* on) {
    NTSTATUS status = NeedInput(request, sizeof(uint32_t));
    if (NT_SUCCESS(status)) *on = Get32(request->input, 0) != 0;
    return status;
}

static NTSTATUS SetDevice(CorehubRequest* request) {
    NTSTATUS status = NeedInput(request, sizeof(CorehubDeviceSwitch));
    if (!NT_SUCCESS(status)) return status;
    CorehubDeviceSwitch change;
    RtlCopyMemory(&change, request->input, sizeof change);
    status = CorehubSetDevicePresent(change.deviceId, change.present != 0);
    return NT_SUCCESS(status) ? Answered(request, 0) : status;
}

static NTSTATUS StartProgram(CorehubRequest* request) {
    NTSTATUS status = NeedInput(request, sizeof(CorehubProgramStart));
    if (!NT_SUCCESS(status)) return status;
    const CorehubProgramStart* start = (const CorehubProgramStart*)request->input;
    int32_t stationIndex;
    char task[COREHUB_TASK_NAME_CHARS + 1];
    char command[COREHUB_COMMAND_CHARS + 1];
    RtlCopyMemory(&stationIndex, &start->stationIndex, sizeof stationIndex);
    CorehubCopyText(task, COREHUB_TASK_NAME_CHARS, start->task, sizeof start->task);
    CorehubCopyText(command, COREHUB_COMMAND_CHARS, start->command, sizeof start->command);
    const char* commands[] = {command};
    uint32_t key;
    status = CorehubStartTask(stationIndex, task, commands, 1, &key);
    if (!NT_SUCCESS(status)) return status;
    if (request->outputLength < sizeof key) return Answered(request, 0);
    Put32(request->output, 0, key);
    return Answered(request, sizeof key);
}

static NTSTATUS ReadStatus(CorehubRequest* request) {
    NTSTATUS status = NeedOutput(request, sizeof(CorehubStatus));
    if (!NT_SUCCESS(status)) return status;
    CorehubStatus answer;
    CorehubReadStatus(&answer);
    RtlCopyMemory(request->output, &answer, sizeof answer);
    return Answered(request, sizeof answer);
}

static NTSTATUS ReadTexts(CorehubRequest* request) {
    NTSTATUS status = NeedInput(request, sizeof(uint32_t));
    if (NT_SUCCESS(status)) status = NeedOutput(request, sizeof(uint32_t));
    if (!NT_SUCCESS(status)) return status;
    uint32_t first = Get32(request->input, 0);
    uint32_t count = CorehubTextCount();
    ULONG room = (request->outputLength - sizeof count) / COREHUB_TEXT_RECORD_SIZE;
    ULONG returned = 0;
    for (uint32_t index = first; index < count && returned < room; ++index) {
        RtlCopyMemory(request->output + sizeof count + returned * COREHUB_TEXT_RECORD_SIZE, CorehubTextAt(index),
                      COREHUB_TEXT_RECORD_SIZE);
        ++returned;
    }
    Put32(request->output, 0, count);
    return Answered(request, sizeof count + returned * COREHUB_TEXT_RECORD_SIZE);
}

static NTSTATUS AddLaunch(CorehubRequest* request) {
    NTSTATUS status = NeedInput(request, sizeof(CorehubLaunchEntry));
    if (!NT_SUCCESS(status)) return status;
    CorehubLaunchEntry entry;
    ReadLaunchRecord(request->input, &entry);
    status = CorehubAddStation(&entry, FALSE);
    return NT_SUCCESS(status) ? Answered(request, 0) : status;
}

static NTSTATUS SetReplyMode(CorehubRequest* request) {
    NTSTATUS status = NeedInput(request, sizeof(CorehubReplyMode));
    if (!NT_SUCCESS(status)) return status;
    CorehubReplyMode mode;
    RtlCopyMemory(&mode, request->input, sizeof mode);
    if (mode.mode > COREHUB_REPLY_RANDOM) return STATUS_INVALID_PARAMETER;
    CorehubSetReplyMode(mode.code, mode.mode, mode.seed);
    return Answered(request, 0);
}

static NTSTATUS HandlePrivate(CorehubRequest* request) {
    BOOLEAN on = FALSE;
    NTSTATUS status;
    switch (request->code) {
    case COREHUB_PRIVATE_RESET:
        return Reset(request);
    case COREHUB_PRIVATE_READ_LOG:
        return ReadLog(request);
    case COREHUB_PRIVATE_SET_PENDING:
        status = ReadSwitch(request, &on);
        if (NT_SUCCESS(status)) CorehubSetPending(on);
        return NT_SUCCESS(status) ? Answered(request, 0) : status;
    case COREHUB_PRIVATE_SET_AT_STATION:
        status = ReadSwitch(request, &on);
        if (NT_SUCCESS(status)) CorehubSetAtStation(on);
        return NT_SUCCESS(status) ? Answered(request, 0) : status;
    case COREHUB_PRIVATE_SET_ABSENT:
        status = ReadSwitch(request, &on);
        if (NT_SUCCESS(status)) CorehubSetAbsent(on);
        return NT_SUCCESS(status) ? Answered(request, 0) : status;
    case COREHUB_PRIVATE_SET_FAILING_CODE:
        status = NeedInput(request, sizeof(uint32_t));
        if (NT_SUCCESS(status)) CorehubSetFailingCode(Get32(request->input, 0));
        return NT_SUCCESS(status) ? Answered(request, 0) : status;
    case COREHUB_PRIVATE_SET_REPLY_MODE:
        return SetReplyMode(request);
    case COREHUB_PRIVATE_SET_DEVICE:
        return SetDevice(request);
    case COREHUB_PRIVATE_START_PROGRAM:
        return StartProgram(request);
    case COREHUB_PRIVATE_READ_STATUS:
        return ReadStatus(request);
    case COREHUB_PRIVATE_READ_TEXTS:
        return ReadTexts(request);
    case COREHUB_PRIVATE_ADD_LAUNCH:
        return AddLaunch(request);
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
}

/* ---- Routing ------------------------------------------------------------------------ */

/* Both devices take the private codes, so the station side still reaches
 * the driver while \\.\Corehub is switched absent. */
BOOLEAN CorehubIsPrivateCode(ULONG device, ULONG code) {
    UNREFERENCED_PARAMETER(device);
    return (code >> 16) == COREHUB_PRIVATE_TYPE;
}

static NTSTATUS HandleCorehub(CorehubRequest* request) {
    if (CorehubFails(request->code)) return STATUS_UNSUCCESSFUL;
    switch (request->code) {
    case COREHUB_LAUNCH_STATION:
        return LaunchStation(request);
    case COREHUB_FIRST_LAUNCH:
        return EnumerateLaunch(request, FALSE);
    case COREHUB_NEXT_LAUNCH:
        return EnumerateLaunch(request, TRUE);
    case COREHUB_FIRST_TASK:
        return EnumerateTask(request, FALSE);
    case COREHUB_NEXT_TASK:
        return EnumerateTask(request, TRUE);
    case COREHUB_FIRST_PROGRAM:
        return EnumerateProgram(request, FALSE);
    case COREHUB_NEXT_PROGRAM:
        return EnumerateProgram(request, TRUE);
    case COREHUB_FIRST_DEVICE:
        return EnumerateDevice(request, FALSE);
    case COREHUB_NEXT_DEVICE:
        return EnumerateDevice(request, TRUE);
    case COREHUB_STOP_STATION:
        return StopStation(request);
    case COREHUB_SEND_TEXT:
        return SendText(request);
    case COREHUB_PREPARE_SHUTDOWN:
        return PrepareShutdown(request);
    case COREHUB_EXECUTE_SHUTDOWN:
        return ExecuteShutdown(request);
    case COREHUB_QUERY_PENDING:
        return AnsweredByCount(request, CorehubIsPending());
    case COREHUB_AUTO_LAUNCH:
        return AutoLaunch(request);
    case COREHUB_STATION_QUERY:
        return AnsweredByCount(request, CorehubIsAtStation());
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
}

static NTSTATUS HandlePublic(CorehubRequest* request) {
    if (request->device == PORTLANE_DEVICE) {
        /* The station's IO handle would be the input pointer itself; the
         * request is only taken note of (the log has it). */
        return request->code == PORTLANE_STATION_REQUEST ? Answered(request, 0) : STATUS_INVALID_DEVICE_REQUEST;
    }
    return HandleCorehub(request);
}

NTSTATUS CorehubHandleRequest(CorehubRequest* request) {
    if (CorehubIsPrivateCode(request->device, request->code)) return HandlePrivate(request);
    NTSTATUS status = HandlePublic(request);
    if (NT_SUCCESS(status)) CorehubBendReply(request);
    return status;
}
