#include "station_settings_dialogs.h"

#include "data_exchange.h"
#include "resource_ids.h"
#include "station_name_check.h"

namespace {

const int kStationNameLimit = 31;  // what the driver's launch record holds
const int kUserLimit = 20;

}  // namespace

CStationSettingsDlg::CStationSettingsDlg(CWnd* parent) : CDialog(IDD_STATION_SETTINGS, parent) {}

void CStationSettingsDlg::DoDataExchange(CDataExchange* exchange) {
    DDX_Text(exchange, IDC_SETTINGS_NAME, stationName);
    DDV_MaxChars(exchange, stationName, kStationNameLimit);
    DDV_StationNameFree(exchange, model, stationIndex, stationName);
    DDX_Text(exchange, IDC_SETTINGS_USER, defaultUser);
    DDV_MaxChars(exchange, defaultUser, kUserLimit);
    DDX_Check(exchange, IDC_SETTINGS_AUTOLAUNCH, autoLaunch);
}

CSingleStationSettingsDlg::CSingleStationSettingsDlg(CWnd* parent) : CDialog(IDD_SINGLE_STATION_SETTINGS, parent) {}

void CSingleStationSettingsDlg::DoDataExchange(CDataExchange* exchange) {
    DDX_Text(exchange, IDC_SETTINGS_USER, defaultUser);
    DDV_MaxChars(exchange, defaultUser, kUserLimit);
    DDX_Check(exchange, IDC_SETTINGS_AUTOLAUNCH, autoLaunch);
    DDX_Check(exchange, IDC_SETTINGS_SHUTDOWN, shutdown);
}
