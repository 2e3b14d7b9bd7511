/* Answers bent on request of the station side: a successful answer to the
 * chosen control code gets a short, long or zero byte count, or random
 * bytes, so the callers' checks of what comes back can be tried. Runs with
 * the state lock held. */
#include "corehub_internal.h"

static uint32_t replyCode;
static uint32_t replyMode;
static uint32_t randomState;

/* Never zero, or the generator would stay at zero. */
static uint32_t StartState(uint32_t seed) {
    return seed != 0 ? seed : 0x9E3779B9u;
}

/* Marsaglia's xorshift: small, and the same sequence for the same seed. */
static uint32_t NextRandom(void) {
    uint32_t x = randomState;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    randomState = x;
    return x;
}

void CorehubSetReplyMode(uint32_t code, uint32_t mode, uint32_t seed) {
    replyCode = code;
    replyMode = mode;
    randomState = StartState(seed);
}

/* Wine's device host copies as many bytes out of a buffered request's
 * system buffer as the count says, and that buffer holds the larger of the
 * two lengths; for the other methods the count only travels. */
static ULONG_PTR LongCount(const CorehubRequest* request) {
    ULONG_PTR wanted = (ULONG_PTR)request->outputLength + COREHUB_REPLY_LONG_EXTRA;
    if ((request->code & 3u) != METHOD_BUFFERED) return wanted;
    ULONG_PTR buffer = request->inputLength > request->outputLength ? request->inputLength : request->outputLength;
    return wanted < buffer ? wanted : buffer;
}

void CorehubBendReply(CorehubRequest* request) {
    if (replyMode == COREHUB_REPLY_NORMAL) return;
    if (replyCode != 0 && replyCode != request->code) return;
    switch (replyMode) {
    case COREHUB_REPLY_SHORT:
        request->information /= 2;
        break;
    case COREHUB_REPLY_LONG:
        request->information = LongCount(request);
        break;
    case COREHUB_REPLY_ZERO:
        request->information = 0;
        break;
    case COREHUB_REPLY_RANDOM:
        for (ULONG i = 0; i < request->outputLength; ++i) request->output[i] = (UCHAR)(NextRandom() >> 24);
        break;
    default:
        break;
    }
}
