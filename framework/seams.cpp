#include "seams.h"

namespace {

MessageBoxHandler messageBoxHandler;
ModalOperator modalOperator;

struct SystemClock : Clock {
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
    DWORD TickCount() override { return ::GetTickCount(); }
};
SystemClock systemClock;
Clock* clock = &systemClock;

}  // namespace

int AfxShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) {
    if (messageBoxHandler) return messageBoxHandler(owner, text, caption, style);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(messageBoxHandler);
    messageBoxHandler = std::move(handler);
    return previous;
}

void AfxSetModalOperator(ModalOperator newOperator) {
    modalOperator = std::move(newOperator);
}

void AfxRunModalOperator(HWND dialog) {
    if (modalOperator) modalOperator(dialog);
}

void AfxSleep(DWORD milliseconds) {
    clock->Sleep(milliseconds);
}
DWORD AfxGetTickCount() {
    return clock->TickCount();
}

Clock* AfxSetClock(Clock* newClock) {
    Clock* previous = clock;
    clock = newClock ? newClock : &systemClock;
    return previous == &systemClock ? nullptr : previous;
}
