#include "station_page.h"

#include "application.h"
#include "config_messages.h"
#include "data_exchange.h"
#include "printer_mode_dialog.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "resources.h"
#include "station_name_check.h"

namespace {

const int kUserLimit = 20;
const int kStationNameLimit = 31;
const int kPortTextLimit = 64;
// The configuration block the line settings calls are given.
const DWORD kCommConfigSize = 52;
static_assert(sizeof(COMMCONFIG) >= kCommConfigSize);

// The dialog items of one port.
struct PortItems {
    int check;
    int portEdit;
    int nameEdit;
    int settings;
};

const PortItems kPortItems[] = {
    {IDC_PAGE_SERIAL1, IDC_PAGE_SERIAL1_PORT, IDC_PAGE_SERIAL1_NAME, IDC_PAGE_SERIAL1_SETTINGS},
    {IDC_PAGE_SERIAL2, IDC_PAGE_SERIAL2_PORT, IDC_PAGE_SERIAL2_NAME, IDC_PAGE_SERIAL2_SETTINGS},
    {IDC_PAGE_PRINTER, IDC_PAGE_PRINTER_PORT, IDC_PAGE_PRINTER_NAME, IDC_PAGE_PRINTER_SETTINGS},
};

const int kPrinterPort = 3;

}  // namespace

BEGIN_MESSAGE_MAP(CStationPage, CPropertyPage)
ON_BN_CLICKED(IDC_PAGE_SERIAL1, OnSerial1)
ON_BN_CLICKED(IDC_PAGE_SERIAL2, OnSerial2)
ON_BN_CLICKED(IDC_PAGE_PRINTER, OnPrinter)
ON_BN_CLICKED(IDC_PAGE_SERIAL1_SETTINGS, OnSerial1Settings)
ON_BN_CLICKED(IDC_PAGE_SERIAL2_SETTINGS, OnSerial2Settings)
ON_BN_CLICKED(IDC_PAGE_PRINTER_SETTINGS, OnPrinterMode)
ON_EN_CHANGE(IDC_PAGE_STATION_NAME, OnChange)
ON_EN_CHANGE(IDC_PAGE_DEFAULT_USER, OnChange)
ON_EN_CHANGE(IDC_PAGE_SERIAL1_PORT, OnChange)
ON_EN_CHANGE(IDC_PAGE_SERIAL2_PORT, OnChange)
ON_EN_CHANGE(IDC_PAGE_PRINTER_PORT, OnChange)
ON_EN_CHANGE(IDC_PAGE_SERIAL1_NAME, OnChange)
ON_EN_CHANGE(IDC_PAGE_SERIAL2_NAME, OnChange)
ON_EN_CHANGE(IDC_PAGE_PRINTER_NAME, OnChange)
ON_BN_CLICKED(IDC_PAGE_AUTOLAUNCH, OnChange)
END_MESSAGE_MAP()

CStationPage::CStationPage(SystemConfig& model, int stationIndex)
    : CPropertyPage(IDD_STATION_PAGE), station(model.stations[stationIndex]), model_(model) {
    autoLaunchCheck = static_cast<int>(station.autoLaunch);
    defaultUserText = station.defaultUser;
    stationNameText = station.stationName;
    printerCheck = station.printerEnabled ? 1 : 0;
    printerNameText = station.printerName;
    printerPortText = station.printerPortName;
    serial1Check = static_cast<int>(station.serial1Enabled);
    serial1NameText = station.serial1Name;
    serial1PortText = station.serial1PortName;
    serial2Check = static_cast<int>(station.serial2Enabled);
    serial2NameText = station.serial2Name;
    serial2PortText = station.serial2PortName;
    printerMode = station.printerEnabled == 2 ? 1 : 0;
    SetTitle(station.stationName);
}

void CStationPage::DoDataExchange(CDataExchange* exchange) {
    DDX_Check(exchange, IDC_PAGE_AUTOLAUNCH, autoLaunchCheck);
    DDX_Text(exchange, IDC_PAGE_DEFAULT_USER, defaultUserText);
    DDV_MaxChars(exchange, defaultUserText, kUserLimit);
    DDX_Text(exchange, IDC_PAGE_STATION_NAME, stationNameText);
    DDV_MaxChars(exchange, stationNameText, kStationNameLimit);
    DDV_StationNameFree(exchange, &model_, station.index, stationNameText);
    DDX_Check(exchange, IDC_PAGE_PRINTER, printerCheck);
    DDX_Text(exchange, IDC_PAGE_PRINTER_NAME, printerNameText);
    DDV_MaxChars(exchange, printerNameText, kPortTextLimit);
    DDX_Text(exchange, IDC_PAGE_PRINTER_PORT, printerPortText);
    DDV_MaxChars(exchange, printerPortText, kPortTextLimit);
    DDX_Check(exchange, IDC_PAGE_SERIAL1, serial1Check);
    DDX_Text(exchange, IDC_PAGE_SERIAL1_NAME, serial1NameText);
    DDV_MaxChars(exchange, serial1NameText, kPortTextLimit);
    DDX_Text(exchange, IDC_PAGE_SERIAL1_PORT, serial1PortText);
    DDV_MaxChars(exchange, serial1PortText, kPortTextLimit);
    DDX_Check(exchange, IDC_PAGE_SERIAL2, serial2Check);
    DDX_Text(exchange, IDC_PAGE_SERIAL2_NAME, serial2NameText);
    DDV_MaxChars(exchange, serial2NameText, kPortTextLimit);
    DDX_Text(exchange, IDC_PAGE_SERIAL2_PORT, serial2PortText);
    DDV_MaxChars(exchange, serial2PortText, kPortTextLimit);
}

BOOL CStationPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    // The ports' registrations may have changed since the sheet was built;
    // the page's own fields stay as they were taken.
    model_.LoadAll();
    for (int port = 1; port <= 3; ++port) TogglePort(port);
    return TRUE;
}

void CStationPage::OnSerial1() {
    TogglePort(1);
}
void CStationPage::OnSerial2() {
    TogglePort(2);
}
void CStationPage::OnPrinter() {
    TogglePort(3);
}

void CStationPage::TogglePort(int port) {
    SetModified(TRUE);
    UpdateData(TRUE);
    const PortItems& items = kPortItems[port - 1];
    UINT state = IsDlgButtonChecked(m_hWnd, items.check);
    bool inUse = state == BST_CHECKED || state == BST_INDETERMINATE;
    EnableWindow(GetDlgItem(items.portEdit), inUse);
    EnableWindow(GetDlgItem(items.nameEdit), inUse);
    if (inUse) ::SetFocus(GetDlgItem(items.portEdit));
    bool settings = inUse && (port == kPrinterPort || SerialPortPresent(port));
    EnableWindow(GetDlgItem(items.settings), settings);
}

bool CStationPage::SerialPortPresent(int port) const {
    std::string wanted = AfxFormat("Root\\Ternway\\App%dPort%d", station.index + 1, port);
    RegistryKey devices;
    if (!devices.Open(HKEY_DYN_DATA, "Config Manager\\Enum")) return false;
    std::string name;
    while (devices.NextSubkey(name)) {
        if (name[0] != 'C') continue;
        RegistryKey device;
        std::string hardwareKey;
        if (device.Open(devices.Handle(), name.c_str()) && device.QueryString("HardWareKey", hardwareKey) &&
            hardwareKey == wanted)
            return true;
    }
    return false;
}

void CStationPage::OnSerial1Settings() {
    SetModified(TRUE);
    EditLineSettings(serial1PortText);
}
void CStationPage::OnSerial2Settings() {
    SetModified(TRUE);
    EditLineSettings(serial2PortText);
}

void CStationPage::EditLineSettings(const std::string& portName) {
    COMMCONFIG config = {};
    DWORD size = kCommConfigSize;
    if (!GetDefaultCommConfigA(portName.c_str(), &config, &size)) return;
    if (!CommConfigDialogA(portName.c_str(), m_hWnd, &config)) return;
    SetDefaultCommConfigA(portName.c_str(), &config, size);
}

void CStationPage::OnPrinterMode() {
    SetModified(TRUE);
    UpdateData(TRUE);
    CPrinterModeDlg dialog(printerMode, this);
    if (dialog.DoModal() == IDOK) printerMode = dialog.mode;
}

void CStationPage::OnChange() {
    SetModified(TRUE);
}

bool CStationPage::PortsSwitched() const {
    if (static_cast<uint32_t>(serial1Check) != station.serial1Enabled) return true;
    if (static_cast<uint32_t>(serial2Check) != station.serial2Enabled) return true;
    if ((printerCheck != 0) != (station.printerEnabled != 0)) return true;
    return (station.printerEnabled == 1 && printerMode == 1) || (station.printerEnabled == 2 && printerMode == 0);
}

bool CStationPage::PortNamesChanged() const {
    return printerNameText != station.printerName || serial1NameText != station.serial1Name ||
           serial2NameText != station.serial2Name || printerPortText != station.printerPortName ||
           serial1PortText != station.serial1PortName || serial2PortText != station.serial2PortName;
}

void CStationPage::ForgetRenamedPorts() {
    // Nothing else ever takes a port's old name off the port list: the save
    // registers the ports under their new names only.
    const std::pair<const std::string&, const std::string&> portNames[] = {
        {printerPortText, station.printerPortName},
        {serial1PortText, station.serial1PortName},
        {serial2PortText, station.serial2PortName},
    };
    for (const auto& [text, stored] : portNames) {
        if (text != stored) station.RemovePortListEntry(stored);
    }
}

void CStationPage::OnOK() {
    ForgetRenamedPorts();
    // Owned by the sheet, which cannot be used while the box is up.
    const HWND sheet = ::GetParent(m_hWnd);
    if (PortsSwitched())
        ShowAppMessageId(IDS_PORTS_SWITCHED, MB_ICONEXCLAMATION, sheet);
    else if (PortNamesChanged())
        ShowAppMessageId(IDS_PORT_NAMES_CHANGED, MB_ICONEXCLAMATION, sheet);

    station.stationName = stationNameText;
    station.defaultUser = defaultUserText;
    station.autoLaunch = static_cast<uint32_t>(autoLaunchCheck);
    station.printerEnabled = printerCheck == 0 ? 0 : (printerMode == 1 ? 2 : 1);
    station.printerName = printerNameText;
    station.printerPortName = printerPortText;
    station.serial1Enabled = static_cast<uint32_t>(serial1Check);
    station.serial1Name = serial1NameText;
    station.serial1PortName = serial1PortText;
    station.serial2Enabled = static_cast<uint32_t>(serial2Check);
    station.serial2Name = serial2NameText;
    station.serial2PortName = serial2PortText;
    model_.SaveAll();
}
