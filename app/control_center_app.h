// The control center's application object: start-up, the command-line
// words, and the release of what start-up acquired.
#pragma once

#include <windows.h>

#include "application.h"
#include "command_line.h"
#include "config_messages.h"

// The words that make the program a one-shot tool, compared with the whole
// argument ignoring case; the framework has already taken off a leading
// "/" or "-".
class CControlCenterCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* param, bool isSwitch, bool isLast) override;

    BOOL m_bAutoLaunch = FALSE;
    BOOL m_bHelp = FALSE;
    BOOL m_bRegister = FALSE;
    BOOL m_bUninstall = FALSE;
    BOOL m_bBlueScreen = FALSE;
};

class CControlCenterApp : public CWinApp {
public:
    CControlCenterApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Releases the window class, the resource library and the device handle,
    // each only when held; calling it twice is harmless.
    void CleanupInstance();
    // True when no other instance runs; otherwise brings that one forward.
    BOOL ActivatePreviousInstance();
    // Opens the station-manager driver; false only when its device name
    // cannot be loaded. Without the driver the program runs on.
    BOOL OpenDriver();
    // The main window's class, under the name that marks a running instance.
    BOOL RegisterMainWindowClass();
    // The document, the main window and its home view, titled.
    BOOL OpenMainWindow(CCommandLineInfo& commandLine);

    HANDLE m_hDevice = INVALID_HANDLE_VALUE;
    HINSTANCE m_hResourceLibrary = nullptr;
    BOOL m_bClassRegistered = FALSE;
    const char* m_pszWindowClass;

protected:
    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
