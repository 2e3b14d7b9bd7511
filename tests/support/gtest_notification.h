// GoogleTest's Notification over a manual-reset event, for the compiler's
// win32 thread model (the Windows 95/98 release's), which has no std::mutex
// or std::condition_variable for GoogleTest's own. Included ahead of every
// source of that build, with GTEST_HAS_NOTIFICATION_ set.
#pragma once

#ifdef __cplusplus
#include <windows.h>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace internal
}  // namespace testing
#endif
