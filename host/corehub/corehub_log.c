/* The request log: every request of the product's series that reaches either
 * device, refused or not, so that tests can see exactly what a caller sent.
 * Bounded: the oldest entries give way. Runs with the state lock held. */
#include "corehub_internal.h"

static CorehubLogEntry entries[COREHUB_LOG_CAPACITY];
static uint32_t oldest; /* slot of the oldest kept entry */
static uint32_t kept;
static uint32_t requestCount;

void CorehubLogReset(void) {
    RtlZeroMemory(entries, sizeof entries);
    oldest = 0;
    kept = 0;
    requestCount = 0;
}

void CorehubLogRequest(ULONG device, ULONG code, ULONG inputLength, const UCHAR* input, ULONG available) {
    uint32_t slot;
    if (kept < COREHUB_LOG_CAPACITY) {
        slot = (oldest + kept) % COREHUB_LOG_CAPACITY;
        ++kept;
    } else {
        slot = oldest;
        oldest = (oldest + 1) % COREHUB_LOG_CAPACITY;
    }
    CorehubLogEntry* entry = &entries[slot];
    RtlZeroMemory(entry, sizeof *entry);
    /* The first request after a reset is number 1, so the newest entry's
     * number is also the count of requests. */
    entry->sequence = ++requestCount;
    entry->device = device;
    entry->code = code;
    entry->inputLength = inputLength;
    if (input) {
        ULONG copied = available < COREHUB_LOG_INPUT_BYTES ? available : COREHUB_LOG_INPUT_BYTES;
        RtlCopyMemory(entry->input, input, copied);
    }
}

uint32_t CorehubLogCount(void) {
    return kept;
}

const CorehubLogEntry* CorehubLogEntryAt(uint32_t index) {
    if (index >= kept) return NULL;
    return &entries[(oldest + index) % COREHUB_LOG_CAPACITY];
}

uint32_t CorehubLogRequestCount(void) {
    return requestCount;
}
