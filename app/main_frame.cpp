#include "main_frame.h"

#include <algorithm>

#include "address_opener.h"
#include "application.h"
#include "control_center_app.h"
#include "driver_channel.h"
#include "gdi.h"
#include "launch_station_dialog.h"
#include "message_log_dialog.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "running_programs_dialog.h"
#include "station_pick_dialog.h"
#include "stop_pick_dialog.h"
#include "support_dialog.h"
#include "user_list_dialog.h"
#include "zq_view.h"

IMPLEMENT_DYNCREATE(CMainFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_MESSAGE(WM_SHOWWINDOW, OnShowWindowMessage)
ON_WM_CLOSE()
ON_MESSAGE(WM_QUERYNEWPALETTE, OnQueryNewPalette)
ON_MESSAGE(WM_PALETTECHANGED, OnPaletteChanged)
ON_COMMAND(ID_LAUNCH_STATION, OnLaunchStation)
ON_COMMAND(ID_STOP_STATION, OnStopStation)
ON_COMMAND(ID_AUTOLAUNCH_ON, OnAutoLaunchOn)
ON_COMMAND(ID_AUTOLAUNCH_OFF, OnAutoLaunchOff)
ON_COMMAND(ID_SHUTDOWN_DEFAULT_ON, OnShutdownDefaultOn)
ON_COMMAND(ID_SHUTDOWN_DEFAULT_OFF, OnShutdownDefaultOff)
ON_COMMAND(ID_EXIT, OnExit)
ON_COMMAND(ID_SUPPORT_INFO, OnSupportInfo)
ON_COMMAND(ID_PRODUCT_WEB_PAGE, OnProductWebPage)
ON_COMMAND(ID_LIST_USERS, OnListUsers)
ON_COMMAND(ID_RUNNING_PROGRAMS, OnRunningPrograms)
ON_COMMAND(ID_MESSAGE_LOG, OnMessageLog)
ON_COMMAND(ID_SEND_MESSAGE, OnSendMessage)
ON_COMMAND(ID_SHUTDOWN_SYSTEM, OnShutdownSystem)
ON_COMMAND(ID_REMOVE_USER, OnRemoveUser)
ON_COMMAND(ID_STATION_CHECK, OnStationCheck)
ON_COMMAND(ID_STATION_SETTINGS, OnStationSettings)
ON_COMMAND(ID_HELP_CMD, OnHelp)
ON_COMMAND(ID_HELP_INDEX_CMD, OnHelp)
ON_COMMAND(ID_DEFAULT_HELP_CMD, OnHelp)
ON_COMMAND(ID_CONTEXT_HELP_CMD, OnHelp)
ON_UPDATE_COMMAND_UI(ID_LAUNCH_STATION, OnUpdateLaunchStation)
ON_UPDATE_COMMAND_UI(ID_STOP_STATION, OnUpdateStopStation)
ON_UPDATE_COMMAND_UI(ID_AUTOLAUNCH_ON, OnUpdateAutoLaunchOn)
ON_UPDATE_COMMAND_UI(ID_AUTOLAUNCH_OFF, OnUpdateAutoLaunchOff)
ON_UPDATE_COMMAND_UI(ID_SHUTDOWN_DEFAULT_ON, OnUpdateShutdownDefaultOn)
ON_UPDATE_COMMAND_UI(ID_SHUTDOWN_DEFAULT_OFF, OnUpdateShutdownDefaultOff)
END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    // Fixed size, no maximise box, and a title that only start-up sets.
    cs.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    cs.lpszClass = static_cast<CControlCenterApp*>(AfxGetApp())->m_pszWindowClass;
    return CFrameWnd::PreCreateWindow(cs);
}

LRESULT CMainFrame::OnShowWindowMessage(WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefWindowProc(WM_SHOWWINDOW, wParam, lParam);
    CWinApp* app = AfxGetApp();
    int left = static_cast<int>(app->GetProfileInt("Window", "Left", 0));
    int top = static_cast<int>(app->GetProfileInt("Window", "Top", 0));
    if (left == 0 && top == 0) return result;
    // What WM_CLOSE saved is the placement's position, which counts from the
    // corner of the work area (the screen without the taskbar); the window
    // moves in screen coordinates.
    RECT workArea = {};
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0)) {
        left += workArea.left;
        top += workArea.top;
    }
    // At least 50 pixels of the window stay on the screen.
    left = std::max(0, std::min(left, GetSystemMetrics(SM_CXSCREEN) - 50));
    top = std::max(0, std::min(top, GetSystemMetrics(SM_CYSCREEN) - 50));
    SetWindowPos(m_hWnd, HWND_TOP, left, top, 0, 0, SWP_NOSIZE);
    return result;
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
    ++m_commandsRunning;
    const BOOL handled = CFrameWnd::OnCommand(wParam, lParam);
    if (--m_commandsRunning == 0 && m_closeAsked) {
        m_closeAsked = false;
        PostMessage(WM_CLOSE);
    }
    return handled;
}

void CMainFrame::OnClose() {
    if (m_commandsRunning > 0) {
        m_closeAsked = true;
        return;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(m_hWnd, &placement);
    CWinApp* app = AfxGetApp();
    app->WriteProfileInt("Window", "Top", placement.rcNormalPosition.top);
    app->WriteProfileInt("Window", "Left", placement.rcNormalPosition.left);
    DefWindowProc(WM_CLOSE, 0, 0);
}

LRESULT CMainFrame::OnQueryNewPalette(WPARAM wParam, LPARAM lParam) {
    if (CView* view = GetActiveView()) {
        InvalidateRect(view->m_hWnd, nullptr, FALSE);
        return TRUE;
    }
    return DefWindowProc(WM_QUERYNEWPALETTE, wParam, lParam);
}

LRESULT CMainFrame::OnPaletteChanged(WPARAM wParam, LPARAM lParam) {
    CView* view = GetActiveView();
    if (reinterpret_cast<HWND>(wParam) != m_hWnd && view) {
        InvalidateRect(view->m_hWnd, nullptr, FALSE);
        return 0;
    }
    return DefWindowProc(WM_PALETTECHANGED, wParam, lParam);
}

void CMainFrame::RefreshStationButtons() {
    if (auto* view = dynamic_cast<CZqView*>(GetActiveView()))
        view->EnableStationButtons(!m_config.AllDetectedStationsLaunched(), m_config.AnyStationRunning());
}

void CMainFrame::OnLaunchStation() {
    m_config.LoadAll();
    if (m_config.AllDetectedStationsLaunched()) return;
    if (m_config.AnyBoardHasModelMarker()) {
        CLaunchStationDlg dialog(m_config, this);
        if (dialog.DoModal() == IDOK) {
            CWaitCursor wait;
            if (dialog.station) dialog.station->Launch(dialog.userName);
        }
    } else {
        int index = m_config.FirstDetectedStation();
        if (m_config.HasMultipleStations()) {
            CStationPickDlg picker(m_config, CStationPickDlg::kLaunch, this);
            if (picker.DoModal() != IDOK) return;
            index = picker.picked;
        }
        StationConfig& station = m_config.stations[index];
        if (!station.Launch(station.defaultUser)) ShowAppMessageId(IDS_LAUNCH_FAILED, MB_OK);
    }
    RefreshStationButtons();
}

void CMainFrame::OnStopStation() {
    FlushHives();
    m_config.LoadAll();
    if (!m_config.AnyStationRunning()) return;
    if (DriverChannel::QueryPending() != 0) {
        ShowAppMessageId(IDS_STOP_PENDING, MB_OK);
        return;
    }
    int index = m_config.FirstDetectedStation();
    if (m_config.HasMultipleStations()) {
        if (m_config.AnyBoardHasModelMarker()) {
            CStopPickDlg picker(m_config, this);
            if (picker.DoModal() != IDOK) return;
            index = picker.station;
        } else {
            CStationPickDlg picker(m_config, CStationPickDlg::kStop, this);
            if (picker.DoModal() != IDOK) return;
            index = picker.picked;
        }
    }
    if (ShowAppMessageId(IDS_CONFIRM_STOP, MB_YESNO) != IDYES) return;
    CWaitCursor wait;
    if (index < 0 || index >= SystemConfig::kStationCount) return;
    if (!m_config.stations[index].Stop()) ShowAppMessageId(IDS_STOP_FAILED, MB_OK);
    RefreshStationButtons();
}

void CMainFrame::OnAutoLaunchOn() {
    m_config.LoadAll();
    m_config.autoLaunchEnabled = 1;
    if (!m_config.HasMultipleStations()) m_config.stations[m_config.FirstDetectedStation()].autoLaunch = 1;
    m_config.SaveAll();
}

void CMainFrame::OnAutoLaunchOff() {
    m_config.LoadAll();
    m_config.autoLaunchEnabled = 0;
    if (!m_config.HasMultipleStations()) m_config.stations[m_config.FirstDetectedStation()].autoLaunch = 0;
    m_config.SaveAll();
}

void CMainFrame::OnShutdownDefaultOn() {
    m_config.LoadAll();
    m_config.shutdownDefault = 1;
    m_config.shutdownEnabled = 1;
    m_config.SaveGlobals();
}

void CMainFrame::OnShutdownDefaultOff() {
    m_config.LoadAll();
    m_config.shutdownDefault = 0;
    m_config.shutdownEnabled = 0;
    m_config.SaveGlobals();
}

void CMainFrame::OnExit() {
    PostMessage(WM_CLOSE);
}

void CMainFrame::OnSupportInfo() {
    CSupportDlg dialog(this);
    dialog.DoModal();
}

void CMainFrame::OnProductWebPage() {
    if (HasHandler(AddressKind::kWeb, IDS_PRODUCT_WEB_ADDRESS)) OpenAddress(IDS_PRODUCT_WEB_ADDRESS);
}

void CMainFrame::OnListUsers() {
    FlushHives();
    CUserListDlg dialog(this);
    dialog.DoModal();
}

void CMainFrame::OnRunningPrograms() {
    CRunningProgramsDlg dialog(this);
    dialog.DoModal();
}

void CMainFrame::OnMessageLog() {
    // Without a store there is nothing to read: say so instead of opening.
    RegistryKey store;
    if (!store.Open(HKEY_LOCAL_MACHINE, MessageStorePath().c_str())) {
        ShowAppMessageId(IDS_LOG_EMPTY, MB_OK);
        return;
    }
    store.Close();
    CMessageLogDlg dialog;
    dialog.DoModal();
}

void CMainFrame::OnHelp() {
    AfxGetApp()->OnHelp();
}

void CMainFrame::OnUpdateLaunchStation(CCmdUI* item) {
    item->Enable(!m_config.AllDetectedStationsLaunched());
    // Marked systems check their stations through the setup dialogs.
    if (m_config.AnyBoardHasModelMarker()) {
        if (HMENU menu = GetMenu(m_hWnd)) {
            if (DeleteMenu(menu, ID_STATION_CHECK, MF_BYCOMMAND)) DrawMenuBar(m_hWnd);
        }
    }
}

void CMainFrame::OnUpdateStopStation(CCmdUI* item) {
    item->Enable(m_config.AnyStationRunning());
}

void CMainFrame::OnUpdateAutoLaunchOn(CCmdUI* item) {
    // The first item of its menu: the handlers after it read what this loads.
    m_config.LoadAll();
    item->SetRadio(m_config.autoLaunchEnabled != 0);
}

void CMainFrame::OnUpdateAutoLaunchOff(CCmdUI* item) {
    item->SetRadio(m_config.autoLaunchEnabled == 0);
}
void CMainFrame::OnUpdateShutdownDefaultOn(CCmdUI* item) {
    item->SetRadio(m_config.shutdownDefault != 0);
}
void CMainFrame::OnUpdateShutdownDefaultOff(CCmdUI* item) {
    item->SetRadio(m_config.shutdownDefault == 0);
}
