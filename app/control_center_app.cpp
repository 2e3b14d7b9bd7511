#include "control_center_app.h"

#include <cctype>
#include <string>

#include "about_dialog.h"
#include "application_device.h"
#include "document.h"
#include "driver_channel.h"
#include "main_frame.h"
#include "message_log_dialog.h"
#include "resource_ids.h"
#include "resources.h"
#include "seams.h"
#include "zq_document.h"
#include "zq_view.h"

namespace {

// The main window's class name is also the single-instance marker.
const char kWindowClass[] = "OrvantaZqControlCenter";

}  // namespace

// The one application object, made before the framework's WinMain runs.
CControlCenterApp theApp;

BEGIN_MESSAGE_MAP(CControlCenterApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT_CMD, OnAppAbout)
ON_COMMAND(ID_HELP_USING_CMD, OnHelpUsing)
END_MESSAGE_MAP()

CControlCenterApp::CControlCenterApp() : m_pszWindowClass(kWindowClass) {}

HANDLE ApplicationDeviceHandle() {
    return theApp.m_hDevice;
}

namespace {

int ShowOwnedAppMessage(HWND owner, const char* text, UINT style) {
    std::string caption;
    if (!AfxLoadString(IDS_APP_TITLE, caption)) caption = AfxGetApp()->m_strAppName;
    return AfxShowMessageBox(owner, text ? text : "", caption, style);
}

}  // namespace

int ShowAppMessage(const char* text, UINT style) {
    CWnd* main = AfxGetMainWnd();
    return ShowOwnedAppMessage(main ? main->m_hWnd : GetActiveWindow(), text, style);
}

int ShowAppMessageId(UINT stringId, UINT style) {
    return ShowAppMessage(AfxLoadString(stringId).c_str(), style);
}

int ShowAppMessageId(UINT stringId, UINT style, HWND owner) {
    return ShowOwnedAppMessage(owner, AfxLoadString(stringId).c_str(), style);
}

BOOL CControlCenterApp::InitInstance() {
    // The resource library is named after the program: abc.exe uses ABC.DLL.
    std::string library = m_strExeName + ".dll";
    for (char& c : library) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    m_hResourceLibrary = LoadLibraryA(library.c_str());
    if (!m_hResourceLibrary) {
        std::string text = AfxFormat("Can not find resource library %s, can not continue.", library.c_str());
        AfxMessageBox(text.c_str(), MB_ICONSTOP | MB_OK);
        return FALSE;
    }
    AfxSetResourceHandle(m_hResourceLibrary);

    if (!ActivatePreviousInstance()) {
        CleanupInstance();
        return FALSE;
    }

    if (!RegisterMainWindowClass()) {
        CleanupInstance();
        return FALSE;
    }

    SetRegistryKey("Quillon");

    if (!OpenDriver()) {
        CleanupInstance();
        return FALSE;
    }

    Enable3dControls();
    LoadStdProfileSettings(4);

    CControlCenterCommandLineInfo commandLine;
    ParseCommandLine(commandLine);

    if (commandLine.m_bAutoLaunch) {
        DriverChannel::AutoLaunchStations();
        CleanupInstance();
        return FALSE;
    }
    if (commandLine.m_bBlueScreen) {
        CMessageLogDlg log;
        log.DoModal();
        CleanupInstance();
        return FALSE;
    }

    if (!OpenMainWindow(commandLine)) {
        CleanupInstance();
        return FALSE;
    }
    return TRUE;
}

BOOL CControlCenterApp::RegisterMainWindowClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = &::DefWindowProcA;
    windowClass.hInstance = m_hInstance;
    LPCSTR icon = MAKEINTRESOURCEA(IDR_MAINFRAME);
    windowClass.hIcon = LoadIconA(AfxFindResourceHandle(icon, RT_GROUP_ICON), icon);
    LPCSTR cursor = MAKEINTRESOURCEA(32512);
    windowClass.hCursor = LoadCursorA(AfxFindResourceHandle(cursor, RT_GROUP_CURSOR), cursor);
    // No program module holds the arrow; the system's is the one meant.
    if (!windowClass.hCursor) windowClass.hCursor = LoadCursorA(nullptr, cursor);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = m_pszWindowClass;
    if (!AfxRegisterClass(&windowClass)) return FALSE;
    m_bClassRegistered = TRUE;
    return TRUE;
}

BOOL CControlCenterApp::OpenMainWindow(CCommandLineInfo& commandLine) {
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZqDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CZqView)));
    if (!ProcessShellCommand(commandLine)) return FALSE;

    std::string title;
    if (AfxLoadString(IDS_MAIN_TITLE, title)) SetWindowTextA(m_pMainWnd->m_hWnd, title.c_str());
    return TRUE;
}

int CControlCenterApp::ExitInstance() {
    CleanupInstance();
    return CWinApp::ExitInstance();
}

void CControlCenterApp::CleanupInstance() {
    if (m_bClassRegistered) {
        UnregisterClassA(m_pszWindowClass, m_hInstance);
        m_bClassRegistered = FALSE;
    }
    if (m_hResourceLibrary) {
        AfxSetResourceHandle(nullptr);
        FreeLibrary(m_hResourceLibrary);
        m_hResourceLibrary = nullptr;
    }
    if (m_hDevice != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hDevice);
        m_hDevice = INVALID_HANDLE_VALUE;
    }
}

BOOL CControlCenterApp::ActivatePreviousInstance() {
    HWND previous = FindWindowA(m_pszWindowClass, nullptr);
    if (!previous) return TRUE;
    HWND popup = GetLastActivePopup(previous);
    if (IsIconic(previous)) ShowWindow(previous, SW_RESTORE);
    SetForegroundWindow(popup);
    return FALSE;
}

BOOL CControlCenterApp::OpenDriver() {
    std::string device;
    if (!AfxLoadString(IDS_DRIVER_DEVICE, device)) return FALSE;
    m_hDevice = CreateFileA(device.c_str(), 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (m_hDevice == INVALID_HANDLE_VALUE) ShowAppMessageId(IDS_NO_DRIVER, MB_OK);
    return TRUE;
}

void CControlCenterApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
