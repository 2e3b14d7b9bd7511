// Answers the message boxes of a process as they appear and records what
// they said, so that code which shows boxes can run in a test without a
// person: the library under test in this process, or a program started by
// the test.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "worker_thread.h"

namespace test_support {

struct ShownBox {
    HWND owner = nullptr;
    std::string caption;
    std::string text;
    bool icon = false;
    std::vector<int> buttons;  // IDOK, IDCANCEL, IDYES, IDNO that it offered
};

class MessageBoxWatcher {
public:
    // Watches the process (this one by default) and presses the answer, or
    // the box's only button when it does not offer that one.
    explicit MessageBoxWatcher(DWORD processId = GetCurrentProcessId(), int answer = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    void SetAnswer(int answer) { answer_ = answer; }
    std::vector<ShownBox> Boxes();
    void Clear();

private:
    void Watch();

    DWORD processId_;
    std::atomic<int> answer_;
    std::atomic<bool> stop_{false};
    CriticalSection mutex_;
    std::vector<ShownBox> boxes_;
    std::vector<HWND> answered_;
    WorkerThread thread_;
};

}  // namespace test_support
