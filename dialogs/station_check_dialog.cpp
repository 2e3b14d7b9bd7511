#include "station_check_dialog.h"

#include "data_exchange.h"
#include "resource_ids.h"
#include "resources.h"

namespace {

// What the station's driver does with it lies with the driver: it takes
// the station's IO handle as the input buffer's address itself.
const DWORD kStationRequest = 0x801;

}  // namespace

CStationCheckDlg::CStationCheckDlg(CWnd* parent) : CDialog(IDD_STATION_CHECK, parent) {}

BOOL CStationCheckDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowTextA(m_hWnd, caption.c_str());
    return TRUE;
}

void CStationCheckDlg::DoDataExchange(CDataExchange* exchange) {
    DDX_Check(exchange, IDC_CHECK_BASE, baseInit);
    DDX_Check(exchange, IDC_CHECK_MOUSE, mouseInit);
    DDX_Check(exchange, IDC_CHECK_LAUNCHED, launched);
    DDX_Check(exchange, IDC_CHECK_KEYBOARD, keyboardInit);
    DDX_Text(exchange, IDC_CHECK_REPORT, report);
    DDX_Check(exchange, IDC_CHECK_DRIVERS, driversLoaded);
}

void CStationCheckDlg::OnOK() {
    report = AfxFormat(AfxLoadString(IDS_CHECK_SENDING).c_str(), stationName.c_str());
    // The boxes show the fields again; what was ticked meanwhile is not read.
    UpdateData(FALSE);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HANDLE device = CreateFileA(AfxLoadString(IDS_STATION_DEVICE).c_str(), 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device != INVALID_HANDLE_VALUE) {
        if (SendsRequest()) {
            // Newer systems need somewhere to put the byte count.
            DWORD returned = 0;
            DeviceIoControl(device, kStationRequest, reinterpret_cast<void*>(static_cast<uintptr_t>(ioHandle)), 0,
                            nullptr, 0, &returned, nullptr);
        }
        CloseHandle(device);
    }
    EndDialog(IDOK);
}

bool CMarkedStationCheckDlg::SendsRequest() const {
    return boardName.find("PD-1") != std::string::npos;
}
