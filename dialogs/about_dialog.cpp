#include "about_dialog.h"

#include "about_texts.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "resources.h"
#include "seams.h"

namespace {

struct StationDriver {
    const char* file;
    uint16_t deviceId;
};

const StationDriver kStationDrivers[] = {
    {"Corehub.vxd", 0x3AE3},
    {"Portlane.vxd", 0x3AE4},
    {"Trellmon.vxd", 0x3AE5},
    {"Keyrelay.vxd", 0x000D},  // the system's keyboard device
};

const DWORD kScrollStep = 400;  // milliseconds per line

}  // namespace

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_BN_CLICKED(IDC_ABOUT_TOGGLE, OnToggle)
ON_MESSAGE(WM_RBUTTONDOWN, OnRightButton)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    showDriversNext = false;
    ShowPage();
    return TRUE;
}

void CAboutDlg::OnToggle() {
    ShowPage();
}

void CAboutDlg::ShowPage() {
    std::string page, caption;
    if (showDriversNext) {
        page = DriverPage();
        caption = AfxLoadString(IDS_ABOUT_SHOW_GENERAL);
        showDriversNext = false;
    } else {
        page = GeneralPage();
        caption = AfxLoadString(IDS_ABOUT_SHOW_DRIVERS);
        showDriversNext = true;
    }
    SetDlgItemTextA(m_hWnd, IDC_ABOUT_TEXT, page.c_str());
    SetDlgItemTextA(m_hWnd, IDC_ABOUT_TOGGLE, caption.c_str());
}

std::string CAboutDlg::GeneralPage() {
    std::string product = AfxLoadString(IDS_PRODUCT_VERSION);
    std::string key = AfxFormat(AfxLoadString(IDS_ABOUT_KEY).c_str(), product.c_str());
    std::string licensee, serial;
    RegistryKey licence;
    if (licence.Open(HKEY_LOCAL_MACHINE, key.c_str())) {
        licence.QueryString(AfxLoadString(IDS_ABOUT_VALUE_A).c_str(), licensee);
        licence.QueryString(AfxLoadString(IDS_ABOUT_VALUE_B).c_str(), serial);
        licence.Close();
    } else {
        serial = AfxFormat(AfxLoadString(IDS_ABOUT_KEY_MISSING).c_str(), key.c_str());
    }
    // The tick count starts again from 0 after about 49.7 days.
    std::string upTime = FormatTimeSpan(AfxLoadString(IDS_UPTIME_FORMAT), AfxGetTickCount() / 1000);
    return AfxFormat(AfxLoadString(IDS_ABOUT_GENERAL).c_str(), product.c_str(),
                     AfxLoadString(IDS_PRODUCT_COPYRIGHT).c_str(), licensee.c_str(), serial.c_str(), upTime.c_str());
}

std::string CAboutDlg::DriverPage() {
    std::string page;
    for (const StationDriver& driver : kStationDrivers) page += DriverLine(driver.file, driver.deviceId, versions_);
    return page;
}

// Runs the whole scroll inside the click: the dialog takes no input until
// the last line has gone by.
LRESULT CAboutDlg::OnRightButton(WPARAM, LPARAM) {
    std::string text = AfxFormat(AfxLoadString(IDS_ABOUT_SCROLL).c_str(), AfxLoadString(IDS_PRODUCT_VERSION).c_str());
    size_t position = 0;
    for (;;) {
        text = position + 2 <= text.size() ? text.substr(position + 2) : std::string();
        SetDlgItemTextA(m_hWnd, IDC_ABOUT_TEXT, text.c_str());
        UpdateWindow(GetDlgItem(IDC_ABOUT_TEXT));
        position = text.find("\r\n");
        AfxSleep(kScrollStep);
        if (position == std::string::npos) break;
    }
    showDriversNext = !showDriversNext;
    ShowPage();
    return 0;
}
