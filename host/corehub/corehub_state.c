/* The driver's tables: launched stations, their tasks and programs, the
 * virtual devices it reports, the texts sent to the stations, the shutdown
 * request and the switches the station side sets. Every function but the
 * lock's own runs with the lock held. */
#include "corehub_internal.h"

/* A KMUTEX rather than a fast mutex or spin lock: requests reach the
 * registry while holding it, and registry calls must stay at PASSIVE_LEVEL. */
static KMUTEX stateLock;

typedef struct StationSlot {
    CorehubLaunchEntry entry;
    BOOLEAN marked;
} StationSlot;

static StationSlot stations[COREHUB_LAUNCH_CAPACITY];
static ULONG stationCount;

static CorehubTaskInfo tasks[COREHUB_TASK_CAPACITY];
static ULONG taskCount;
static uint32_t nextTaskKey;

static CorehubProgramInfo programs[COREHUB_PROGRAM_CAPACITY];
static ULONG programCount;
static uint32_t nextProgramPosition;

/* The station drivers of a multi-station host, the keyboard driver and the
 * station display driver, in the order the VMM would chain them. */
static const CorehubDeviceInfo knownDevices[] = {
    {0x3AE3, 4, 0, {'C', 'O', 'R', 'E', 'H', 'U', 'B', ' '}}, {0x3AE4, 4, 0, {'P', 'O', 'R', 'T', 'L', 'A', 'N', 'E'}},
    {0x3AE5, 4, 0, {'T', 'R', 'E', 'L', 'L', 'M', 'O', 'N'}}, {0x000D, 4, 0, {'V', 'K', 'D', ' ', ' ', ' ', ' ', ' '}},
    {0x011F, 4, 0, {'S', 'T', 'N', 'D', 'I', 'S', 'P', ' '}},
};
#define KNOWN_DEVICE_COUNT (sizeof knownDevices / sizeof knownDevices[0])
static BOOLEAN devicePresent[KNOWN_DEVICE_COUNT];

static char texts[COREHUB_TEXT_CAPACITY][COREHUB_TEXT_RECORD_SIZE];
static uint32_t textOldest; /* slot of the oldest kept text */
static uint32_t textCount;

static uint32_t shutdownMode;
static uint32_t shutdownStage;
static uint32_t executeMode;
static BOOLEAN pendingWork;
static BOOLEAN callerAtStation;
static BOOLEAN deviceAbsent;
static uint32_t failingCode;

/* ---- Helpers -------------------------------------------------------------- */

void CorehubCopyText(char* target, ULONG maxChars, const char* source, ULONG fieldSize) {
    ULONG length = 0;
    RtlZeroMemory(target, maxChars + 1);
    if (!source) return;
    while (length < maxChars && length < fieldSize && source[length] != '\0') {
        target[length] = source[length];
        ++length;
    }
}

static char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}

BOOLEAN CorehubSameName(const char* left, const char* right) {
    while (*left != '\0' && FoldCase(*left) == FoldCase(*right)) {
        ++left;
        ++right;
    }
    return FoldCase(*left) == FoldCase(*right);
}

/* ---- Lock and reset ------------------------------------------------------- */

void CorehubStateInitialize(void) {
    KeInitializeMutex(&stateLock, 0);
    CorehubStateReset();
}

void CorehubLock(void) {
    KeWaitForSingleObject(&stateLock, Executive, KernelMode, FALSE, NULL);
}

void CorehubUnlock(void) {
    KeReleaseMutex(&stateLock, FALSE);
}

void CorehubStateReset(void) {
    stationCount = 0;
    taskCount = 0;
    nextTaskKey = 1;
    programCount = 0;
    nextProgramPosition = 1;
    for (ULONG i = 0; i < KNOWN_DEVICE_COUNT; ++i) devicePresent[i] = TRUE;
    RtlZeroMemory(texts, sizeof texts);
    textOldest = 0;
    textCount = 0;
    shutdownMode = 0;
    shutdownStage = 0;
    executeMode = 0;
    pendingWork = FALSE;
    callerAtStation = FALSE;
    failingCode = 0;
    CorehubSetReplyMode(0, COREHUB_REPLY_NORMAL, 0);
    CorehubSetAbsent(FALSE);
}

/* ---- Stations -------------------------------------------------------------- */

static LONG FindStation(int32_t stationIndex) {
    for (ULONG i = 0; i < stationCount; ++i) {
        if (stations[i].entry.stationIndex == stationIndex) return (LONG)i;
    }
    return -1;
}

BOOLEAN CorehubIsStationListed(int32_t stationIndex) {
    return FindStation(stationIndex) >= 0;
}

NTSTATUS CorehubAddStation(const CorehubLaunchEntry* station, BOOLEAN marked) {
    if (FindStation(station->stationIndex) >= 0) return STATUS_OBJECT_NAME_COLLISION;
    if (stationCount >= COREHUB_LAUNCH_CAPACITY) return STATUS_INSUFFICIENT_RESOURCES;
    stations[stationCount].marked = marked;
    CorehubLaunchEntry* entry = &stations[stationCount].entry;
    CorehubCopyText(entry->stationName, COREHUB_NAME_CHARS, station->stationName, sizeof station->stationName);
    CorehubCopyText(entry->userName, COREHUB_NAME_CHARS, station->userName, sizeof station->userName);
    entry->stationIndex = station->stationIndex;
    ++stationCount;
    return STATUS_SUCCESS;
}

static BOOLEAN HasRoomForTasks(ULONG newTasks, ULONG newPrograms) {
    return taskCount + newTasks <= COREHUB_TASK_CAPACITY && programCount + newPrograms <= COREHUB_PROGRAM_CAPACITY &&
           nextTaskKey <= 0xFFFFFFFFu - newTasks && nextProgramPosition <= 0xFFFFFFFFu - newPrograms;
}

/* What a station runs once it is launched: its desktop, and the read-me in a
 * visible window. */
static const char* const desktopPrograms[] = {"C:\\WINDOWS\\EXPLORER.EXE", "C:\\WINDOWS\\SYSTRAY.EXE"};
static const char* const startupPrograms[] = {"C:\\WINDOWS\\NOTEPAD.EXE C:\\WINDOWS\\README.TXT"};

NTSTATUS CorehubAddStationWithDefaults(const CorehubLaunchEntry* station) {
    if (FindStation(station->stationIndex) >= 0) return STATUS_OBJECT_NAME_COLLISION;
    if (stationCount >= COREHUB_LAUNCH_CAPACITY || !HasRoomForTasks(2, 3)) return STATUS_INSUFFICIENT_RESOURCES;
    NTSTATUS status = CorehubAddStation(station, TRUE);
    uint32_t key;
    if (NT_SUCCESS(status)) status = CorehubStartTask(station->stationIndex, "desktop", desktopPrograms, 2, &key);
    if (NT_SUCCESS(status)) status = CorehubStartTask(station->stationIndex, "startup", startupPrograms, 1, &key);
    return status;
}

BOOLEAN CorehubStationFrom(BOOLEAN afterValid, int32_t after, CorehubLaunchEntry* station, BOOLEAN* marked) {
    LONG best = -1;
    for (ULONG i = 0; i < stationCount; ++i) {
        int32_t index = stations[i].entry.stationIndex;
        if (afterValid && index <= after) continue;
        if (best < 0 || index < stations[best].entry.stationIndex) best = (LONG)i;
    }
    if (best < 0) return FALSE;
    *station = stations[best].entry;
    if (marked) *marked = stations[best].marked;
    return TRUE;
}

NTSTATUS CorehubRemoveStation(int32_t stationIndex, const char* stationName, CorehubLaunchEntry* removed,
                              BOOLEAN* marked) {
    LONG found = FindStation(stationIndex);
    if (found < 0 || !CorehubSameName(stations[found].entry.stationName, stationName)) return STATUS_NOT_FOUND;
    *removed = stations[found].entry;
    *marked = stations[found].marked;
    for (ULONG i = (ULONG)found + 1; i < stationCount; ++i) stations[i - 1] = stations[i];
    --stationCount;

    /* Its programs go with its tasks; order is kept so that enumerations in
     * progress continue where they were. */
    ULONG keptPrograms = 0;
    for (ULONG p = 0; p < programCount; ++p) {
        BOOLEAN owned = FALSE;
        for (ULONG t = 0; t < taskCount; ++t) {
            if (tasks[t].key == programs[p].taskKey) {
                owned = tasks[t].stationIndex == stationIndex;
                break;
            }
        }
        if (!owned) programs[keptPrograms++] = programs[p];
    }
    programCount = keptPrograms;
    ULONG keptTasks = 0;
    for (ULONG t = 0; t < taskCount; ++t) {
        if (tasks[t].stationIndex != stationIndex) tasks[keptTasks++] = tasks[t];
    }
    taskCount = keptTasks;
    return STATUS_SUCCESS;
}

BOOLEAN CorehubIsMarkerInUse(const char* userName) {
    for (ULONG i = 0; i < stationCount; ++i) {
        if (stations[i].marked && CorehubSameName(stations[i].entry.userName, userName)) return TRUE;
    }
    return FALSE;
}

/* ---- Tasks and programs ----------------------------------------------------- */

NTSTATUS CorehubStartTask(int32_t stationIndex, const char* taskName, const char* const* commands, ULONG commandCount,
                          uint32_t* taskKey) {
    if (FindStation(stationIndex) < 0) return STATUS_NOT_FOUND;
    if (!HasRoomForTasks(1, commandCount)) return STATUS_INSUFFICIENT_RESOURCES;
    CorehubTaskInfo* task = &tasks[taskCount++];
    task->key = nextTaskKey++;
    task->stationIndex = stationIndex;
    CorehubCopyText(task->name, COREHUB_TASK_NAME_CHARS, taskName, COREHUB_TASK_NAME_CHARS + 1);
    for (ULONG i = 0; i < commandCount; ++i) {
        CorehubProgramInfo* program = &programs[programCount++];
        program->position = nextProgramPosition++;
        program->taskKey = task->key;
        CorehubCopyText(program->command, COREHUB_COMMAND_CHARS, commands[i], COREHUB_COMMAND_CHARS + 1);
    }
    *taskKey = task->key;
    return STATUS_SUCCESS;
}

/* Keys and positions only grow, and removal keeps the order, so the tables
 * stay sorted: the first entry past a position is the answer. */
BOOLEAN CorehubTaskFrom(BOOLEAN afterValid, uint32_t after, CorehubTaskInfo* task) {
    for (ULONG i = 0; i < taskCount; ++i) {
        if (!afterValid || tasks[i].key > after) {
            *task = tasks[i];
            return TRUE;
        }
    }
    return FALSE;
}

BOOLEAN CorehubProgramFrom(BOOLEAN afterValid, uint32_t after, CorehubProgramInfo* program) {
    for (ULONG i = 0; i < programCount; ++i) {
        if (!afterValid || programs[i].position > after) {
            *program = programs[i];
            return TRUE;
        }
    }
    return FALSE;
}

/* ---- Devices ------------------------------------------------------------- */

BOOLEAN CorehubDeviceFrom(uint32_t ordinal, CorehubDeviceInfo* device, uint32_t* foundOrdinal) {
    for (uint32_t i = ordinal; i < KNOWN_DEVICE_COUNT; ++i) {
        if (devicePresent[i]) {
            *device = knownDevices[i];
            *foundOrdinal = i;
            return TRUE;
        }
    }
    return FALSE;
}

NTSTATUS CorehubSetDevicePresent(uint16_t deviceId, BOOLEAN present) {
    for (ULONG i = 0; i < KNOWN_DEVICE_COUNT; ++i) {
        if (knownDevices[i].id == deviceId) {
            devicePresent[i] = present;
            return STATUS_SUCCESS;
        }
    }
    return STATUS_NOT_FOUND;
}

/* ---- Texts --------------------------------------------------------------- */

void CorehubAddText(const char* text) {
    uint32_t slot;
    if (textCount < COREHUB_TEXT_CAPACITY) {
        slot = (textOldest + textCount) % COREHUB_TEXT_CAPACITY;
        ++textCount;
    } else {
        slot = textOldest;
        textOldest = (textOldest + 1) % COREHUB_TEXT_CAPACITY;
    }
    CorehubCopyText(texts[slot], COREHUB_TEXT_RECORD_SIZE - 1, text, COREHUB_TEXT_RECORD_SIZE);
}

uint32_t CorehubTextCount(void) {
    return textCount;
}

const char* CorehubTextAt(uint32_t index) {
    if (index >= textCount) return NULL;
    return texts[(textOldest + index) % COREHUB_TEXT_CAPACITY];
}

/* ---- Shutdown and switches ------------------------------------------------ */

void CorehubSetShutdownPrepared(uint32_t mode) {
    shutdownMode = mode;
    shutdownStage = 1;
}

void CorehubSetShutdownExecuted(uint16_t mode) {
    executeMode = mode;
    shutdownStage = 2;
}

void CorehubSetPending(BOOLEAN pending) {
    pendingWork = pending;
}
BOOLEAN CorehubIsPending(void) {
    return pendingWork;
}
void CorehubSetAtStation(BOOLEAN atStation) {
    callerAtStation = atStation;
}
BOOLEAN CorehubIsAtStation(void) {
    return callerAtStation;
}
void CorehubSetFailingCode(uint32_t code) {
    failingCode = code;
}

BOOLEAN CorehubFails(uint32_t code) {
    return failingCode != 0 && code == failingCode;
}

void CorehubSetAbsent(BOOLEAN absent) {
    if (absent != deviceAbsent) CorehubSetLinkPresent(!absent);
    deviceAbsent = absent;
}

void CorehubReadStatus(CorehubStatus* status) {
    RtlZeroMemory(status, sizeof *status);
    status->shutdownMode = shutdownMode;
    status->shutdownStage = shutdownStage;
    status->executeMode = executeMode;
    status->pending = pendingWork ? 1 : 0;
    status->atStation = callerAtStation ? 1 : 0;
    status->launchCount = stationCount;
    status->taskCount = taskCount;
    status->programCount = programCount;
    status->textCount = textCount;
    status->requestCount = CorehubLogRequestCount();
}
