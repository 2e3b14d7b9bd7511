#include "printer_mode_dialog.h"

#include "resource_ids.h"

CPrinterModeDlg::CPrinterModeDlg(int initialMode, CWnd* parent)
    : CDialog(IDD_PRINTER_MODE, parent), mode(initialMode) {}

BOOL CPrinterModeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CheckRadioButton(m_hWnd, IDC_PRINTER_MODE_NORMAL, IDC_PRINTER_MODE_ALTERNATE,
                     mode == 0 ? IDC_PRINTER_MODE_NORMAL : IDC_PRINTER_MODE_ALTERNATE);
    return TRUE;
}

void CPrinterModeDlg::OnOK() {
    mode = IsDlgButtonChecked(m_hWnd, IDC_PRINTER_MODE_ALTERNATE) == BST_CHECKED ? 1 : 0;
    CDialog::OnOK();
}
