#include "shutdown_dialogs.h"

#include "application.h"
#include "resource_ids.h"
#include "resources.h"

namespace {

const UINT_PTR kConfirmTimer = 1;
const UINT kConfirmAfter = 500;  // milliseconds
const int kListTabStop = 84;     // dialog units

}  // namespace

CShutdownDlg::CShutdownDlg(CWnd* parent) : CDialog(IDD_SHUTDOWN, parent) {}

BOOL CShutdownDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CheckDlgButton(m_hWnd, IDC_SHUTDOWN_POWER_OFF, BST_CHECKED);
    return TRUE;
}

void CShutdownDlg::OnOK() {
    if (IsDlgButtonChecked(m_hWnd, IDC_SHUTDOWN_POWER_OFF) == BST_CHECKED)
        choice = 1;
    else if (IsDlgButtonChecked(m_hWnd, IDC_SHUTDOWN_RESTART) == BST_CHECKED)
        choice = 2;
    else
        choice = 0;
    EndDialog(IDOK);
}

CProgressWnd::CProgressWnd() : CDialog(IDD_PROGRESS) {}

BOOL CProgressWnd::CreateModeless(CWnd* parent) {
    if (!Create(IDD_PROGRESS, parent)) return FALSE;
    CWnd* centre = parent ? parent : AfxGetMainWnd();
    RECT area;
    if (centre && centre->m_hWnd)
        GetWindowRect(centre->m_hWnd, &area);
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT own;
    GetWindowRect(m_hWnd, &own);
    int x = area.left + ((area.right - area.left) - (own.right - own.left)) / 2;
    int y = area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_hWnd, SW_SHOW);
    return TRUE;
}

void CProgressWnd::SetText(UINT stringId) {
    SetDlgItemTextA(m_hWnd, IDC_PROGRESS_TEXT, AfxLoadString(stringId).c_str());
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

BEGIN_MESSAGE_MAP(CShutdownConfirmDlg, CDialog)
ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_MAP()

CShutdownConfirmDlg::CShutdownConfirmDlg(int initialChoice, CWnd* parent)
    : CDialog(IDD_SHUTDOWN_CONFIRM, parent), choice(initialChoice) {}

BOOL CShutdownConfirmDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    timerId = SetTimer(m_hWnd, kConfirmTimer, kConfirmAfter, nullptr);
    SetDlgItemTextA(m_hWnd, IDOK, AfxLoadString(choice == 0 ? IDS_CONFIRM_OK : IDS_CONFIRM_GO).c_str());
    HWND list = GetDlgItem(IDC_CONFIRM_LIST);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    int tabStop = kListTabStop;
    ::SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    return TRUE;
}

LRESULT CShutdownConfirmDlg::OnTimer(WPARAM, LPARAM) {
    ::SendMessageA(GetDlgItem(IDC_CONFIRM_LIST), LB_RESETCONTENT, 0, 0);
    OnOK();
    return 0;
}

void CShutdownConfirmDlg::OnOK() {
    EndDialog(IDOK);
    KillTimer(m_hWnd, timerId);
    CDialog::OnOK();
}

void CShutdownConfirmDlg::OnCancel() {
    EndDialog(IDCANCEL);
    KillTimer(m_hWnd, timerId);
    CDialog::OnCancel();
}
