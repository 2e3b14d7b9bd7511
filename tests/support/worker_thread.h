// A thread of the system's own, joined when it goes out of scope. The tests
// build with both thread models of the compiler, and the one the Windows
// 95/98 release uses has no std::thread or std::mutex.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

namespace test_support {

class WorkerThread {
public:
    explicit WorkerThread(std::function<void()> work) : work_(std::move(work)) {
        handle_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~WorkerThread() { Join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    void Join() {
        if (!handle_) return;
        WaitForSingleObject(handle_, INFINITE);
        CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    static DWORD WINAPI Run(LPVOID self) {
        static_cast<WorkerThread*>(self)->work_();
        return 0;
    }

    std::function<void()> work_;
    HANDLE handle_ = nullptr;
};

// A critical section held for one scope at a time through Lock.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    class Lock {
    public:
        explicit Lock(CriticalSection& owner) : owner_(owner) { EnterCriticalSection(&owner_.section_); }
        ~Lock() { LeaveCriticalSection(&owner_.section_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CriticalSection& owner_;
    };

private:
    CRITICAL_SECTION section_;
};

// Ends the program, naming what hung, unless it goes out of scope within the
// time: a check of something that must never hang would otherwise never end.
class Watchdog {
public:
    Watchdog(DWORD milliseconds, std::string what)
        : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), what_(std::move(what)), thread_([this, milliseconds] {
              if (WaitForSingleObject(done_, milliseconds) == WAIT_OBJECT_0) return;
              std::printf("%s hangs\n", what_.c_str());
              std::fflush(stdout);
              TerminateProcess(GetCurrentProcess(), 3);
          }) {}
    ~Watchdog() {
        SetEvent(done_);
        thread_.Join();
        CloseHandle(done_);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    HANDLE done_;
    std::string what_;
    WorkerThread thread_;
};

}  // namespace test_support
