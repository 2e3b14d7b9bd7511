#include "station_messages.h"

#include <windows.h>

#include "config_messages.h"
#include "driver_channel.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "resources.h"
#include "seams.h"
#include "send_message_dialog.h"
#include "shutdown_dialogs.h"
#include "text.h"

namespace {

const DWORD kUserNameSize = 260;
const DWORD kAnnouncementPause = 4000;  // milliseconds
const DWORD kPreparationPause = 4000;
const int kCountdownSteps = 30;
const DWORD kCountdownStep = 1000;

// What the choice of the shutdown dialog selects.
struct ShutdownMode {
    UINT announcement;
    UINT cancellation;
    uint32_t driverMode;
};

ShutdownMode ModeFor(int choice) {
    if (choice == 1) return {IDS_ANNOUNCE_POWER_OFF, IDS_CANCEL_POWER_OFF, 1};
    return {IDS_ANNOUNCE_RESTART, IDS_CANCEL_RESTART, 67};
}

std::string SenderName() {
    char name[kUserNameSize] = {};
    DWORD size = kUserNameSize;
    std::string sender;
    if (GetUserNameA(name, &size)) sender = AfxTrim(name);
    return sender.empty() ? AfxLoadString(IDS_DEFAULT_SENDER) : sender;
}

void SendOrSay(const std::string& text) {
    if (!DriverChannel::SendText(text.c_str())) ShowAppMessageId(IDS_SEND_FAILED, MB_OK);
}

}  // namespace

void SendMessageCommand(SystemConfig& model, CWnd* frame) {
    model.LoadAll();
    if (!model.AnyStationRunning()) {
        ShowAppMessageId(model.HasMultipleStations() ? IDS_NO_STATION_RUNNING : IDS_STATION_NOT_RUNNING, MB_OK);
        return;
    }
    std::string sender = SenderName();
    CSendMessageDlg dialog(frame);
    dialog.message = AfxTrim(AfxLoadString(IDS_DEFAULT_MESSAGE));
    if (dialog.DoModal() != IDOK) return;
    std::string message = AfxTrim(dialog.message);
    if (message.empty()) return;
    SendOrSay(AfxFormat(AfxLoadString(IDS_MESSAGE_FORMAT).c_str(), sender.c_str(), message.c_str()));
}

void ShutdownCommand(SystemConfig& model, CWnd* frame) {
    // What the registry holds must be on disk before the system goes down.
    FlushHives();

    CShutdownDlg choice(frame);
    if (choice.DoModal() != IDOK) return;
    model.LoadAll();
    model.shutdownEnabled = 1;
    model.SaveAll();

    CProgressWnd progress;
    progress.CreateModeless();
    progress.SetText(IDS_PROGRESS_ANNOUNCING);
    ShutdownMode mode = ModeFor(choice.choice);
    SendOrSay(AfxLoadString(mode.announcement));
    AfxSleep(kAnnouncementPause);

    progress.SetText(IDS_PROGRESS_PREPARING);
    DriverChannel::PrepareShutdown(mode.driverMode);
    AfxSleep(kPreparationPause);

    CShutdownConfirmDlg confirm(choice.choice, frame);
    if (confirm.DoModal() == IDOK) {
        progress.SetText(IDS_PROGRESS_SHUTTING_DOWN);
        DriverChannel::ExecuteShutdown(mode.driverMode);
        for (int step = 0; step < kCountdownSteps; ++step) {
            progress.SetText(IDS_PROGRESS_SHUTTING_DOWN);
            AfxSleep(kCountdownStep);
        }
    } else {
        SendOrSay(AfxLoadString(mode.cancellation));
    }
    progress.DestroyWindow();
}
