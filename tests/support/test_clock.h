// A clock for the framework's clock seam that never waits: it counts the
// waits asked of it, stands at a tick count the test sets, and can let the
// test look at the screen at each wait. Header only: for the test programs
// that link the framework.
#pragma once

#include <functional>

#include "seams.h"

namespace test_support {

class TestClock : public Clock {
public:
    void Sleep(DWORD milliseconds) override {
        slept += milliseconds;
        if (onSleep) onSleep();
    }
    DWORD TickCount() override { return ticks; }

    DWORD ticks = 0;
    DWORD slept = 0;
    std::function<void()> onSleep;
};

}  // namespace test_support
