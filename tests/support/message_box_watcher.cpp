#include "message_box_watcher.h"

#include <algorithm>

#include "program_driver.h"

namespace test_support {

namespace {

// A message box: a dialog of the system's class with the static text item
// that MessageBox gives it.
bool IsMessageBox(HWND window) {
    return ClassName(window) == "#32770" && GetDlgItem(window, 0xFFFF) != nullptr;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(DWORD processId, int answer)
    : processId_(processId), answer_(answer), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.Join();
}

std::vector<ShownBox> MessageBoxWatcher::Boxes() {
    CriticalSection::Lock lock(mutex_);
    return boxes_;
}

void MessageBoxWatcher::Clear() {
    CriticalSection::Lock lock(mutex_);
    boxes_.clear();
}

void MessageBoxWatcher::Watch() {
    while (!stop_) {
        std::vector<HWND> boxes = VisibleWindowsOf(processId_);
        boxes.erase(std::remove_if(boxes.begin(), boxes.end(), [](HWND window) { return !IsMessageBox(window); }),
                    boxes.end());
        // A closed box's handle may come back for the next one.
        answered_.erase(std::remove_if(answered_.begin(), answered_.end(), [](HWND box) { return !IsWindow(box); }),
                        answered_.end());
        for (HWND box : boxes) {
            if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) continue;
            ShownBox shown;
            shown.owner = GetWindow(box, GW_OWNER);
            shown.caption = WindowText(box);
            shown.text = MessageBoxText(box);
            // A box still being made (or already going) may show no words
            // yet; it is read again on the next round.
            if (shown.caption.empty() && shown.text.empty()) continue;
            shown.icon = MessageBoxHasIcon(box);
            for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
                HWND button = GetDlgItem(box, id);
                if (button && IsWindowVisible(button)) shown.buttons.push_back(id);
            }
            int answer = answer_;
            if (std::find(shown.buttons.begin(), shown.buttons.end(), answer) == shown.buttons.end() &&
                !shown.buttons.empty())
                answer = shown.buttons.front();
            {
                CriticalSection::Lock lock(mutex_);
                boxes_.push_back(shown);
            }
            answered_.push_back(box);
            PressButton(box, answer);
        }
        Sleep(10);
    }
}

}  // namespace test_support
