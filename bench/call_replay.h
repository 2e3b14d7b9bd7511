// The raw floor of a loaded library's work: every registry, file,
// profile-file and process call the library makes while a recording is open
// is kept with what it was given (keys and files by the order in which the
// library opened them, texts and data copied), and can then be made again
// straight against the system, in the same order with the same arguments,
// without any of the library's own work in between. Each call made again is
// checked against the result the library got. The recording also tells how
// often each function was called and how long the calls took.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

enum class CallKind { kRegistry, kFile, kProfile, kProcess };

struct FunctionCalls {
    const char* function = "";
    CallKind kind = CallKind::kRegistry;
    long calls = 0;
    double milliseconds = 0;  // inside the calls
};

struct CallCounts {
    std::vector<FunctionCalls> entries;  // the functions called, in a fixed order
    long Calls(CallKind kind) const;
    long Calls() const;
};

class CallReplay {
public:
    CallReplay() = default;
    CallReplay(const CallReplay&) = delete;
    CallReplay& operator=(const CallReplay&) = delete;
    ~CallReplay();

    // Starts recording the library's calls (forgetting any recorded before);
    // false when its import table could not be changed or another recording
    // is open.
    bool Record(HMODULE library);
    void StopRecording();
    size_t Calls() const { return calls_.size(); }
    // The recorded calls by function.
    CallCounts Counts() const;

    // Makes the recorded calls again, in order; the number whose result
    // differed from the recorded one, the first of them described.
    long Replay(std::string* firstDifference);

    // One recorded call: made again, true when the result is the recorded one.
    struct Call {
        const char* function;
        double milliseconds;  // the library's call
        std::function<bool()> again;
    };

private:
    HMODULE library_ = nullptr;
    std::vector<Call> calls_;
    int slots_ = 0;  // the keys and handles the library opened
};

}  // namespace bench
