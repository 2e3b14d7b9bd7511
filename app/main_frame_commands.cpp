// The main window's account and maintenance commands: each reloads what it
// needs and hands the model to its command or dialog (commands/,
// setup_dialogs/).
#include "main_frame.h"

#include "setup_dialog.h"
#include "station_check.h"
#include "station_messages.h"
#include "station_pick_dialog.h"
#include "station_settings_dialogs.h"
#include "user_removal.h"

void CMainFrame::OnSendMessage() {
    SendMessageCommand(m_config, this);
}

void CMainFrame::OnShutdownSystem() {
    ShutdownCommand(m_config, this);
}

void CMainFrame::OnRemoveUser() {
    RemoveUserCommand(this);
}

void CMainFrame::OnStationCheck() {
    StationCheckCommand(m_config, this);
}

void CMainFrame::OnStationSettings() {
    // Marked systems have the full setup, which does its own reading.
    if (m_config.AnyBoardHasModelMarker()) {
        SetupDialog setup(m_config, this);
        setup.DoModal();
        return;
    }
    m_config.LoadAll();
    int index = m_config.FirstDetectedStation();
    if (m_config.HasMultipleStations()) {
        CStationPickDlg picker(m_config, CStationPickDlg::kAny, this);
        if (picker.DoModal() != IDOK) return;
        index = picker.picked;
    }
    if (index < 0 || index >= SystemConfig::kStationCount) return;
    StationConfig& station = m_config.stations[index];
    if (m_config.HasMultipleStations()) {
        CStationSettingsDlg dialog(this);
        dialog.model = &m_config;
        dialog.stationIndex = index;
        dialog.stationName = station.stationName;
        dialog.defaultUser = station.defaultUser;
        dialog.autoLaunch = static_cast<int>(station.autoLaunch);
        if (dialog.DoModal() != IDOK) return;
        station.stationName = dialog.stationName;
        station.defaultUser = dialog.defaultUser;
        station.autoLaunch = static_cast<uint32_t>(dialog.autoLaunch);
    } else {
        // On one station the system's settings are the station's own.
        CSingleStationSettingsDlg dialog(this);
        dialog.defaultUser = station.defaultUser;
        dialog.autoLaunch = static_cast<int>(station.autoLaunch);
        dialog.shutdown = static_cast<int>(m_config.shutdownEnabled);
        if (dialog.DoModal() != IDOK) return;
        station.defaultUser = dialog.defaultUser;
        station.autoLaunch = m_config.autoLaunchEnabled = static_cast<uint32_t>(dialog.autoLaunch);
        m_config.shutdownEnabled = m_config.shutdownDefault = static_cast<uint32_t>(dialog.shutdown);
    }
    m_config.SaveAll();
}
