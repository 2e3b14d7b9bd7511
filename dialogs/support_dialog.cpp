#include "support_dialog.h"

#include "address_opener.h"
#include "resource_ids.h"
#include "resources.h"

BEGIN_MESSAGE_MAP(CSupportDlg, CDialog)
ON_BN_CLICKED(IDC_SUPPORT_WEB, OnWeb)
ON_BN_CLICKED(IDC_SUPPORT_MAIL, OnMail)
END_MESSAGE_MAP()

CSupportDlg::CSupportDlg(CWnd* parent) : CDialog(IDD_SUPPORT, parent) {}

BOOL CSupportDlg::OnInitDialog() {
    text = AfxLoadString(IDS_SUPPORT_TEXT);
    CDialog::OnInitDialog();
    SetDlgItemTextA(m_hWnd, IDC_SUPPORT_TEXT, text.c_str());
    // A button that could only fail is not offered.
    if (!HasHandler(AddressKind::kWeb, 0)) ShowWindow(GetDlgItem(IDC_SUPPORT_WEB), SW_HIDE);
    if (!HasHandler(AddressKind::kMail, 0)) ShowWindow(GetDlgItem(IDC_SUPPORT_MAIL), SW_HIDE);
    return TRUE;
}

void CSupportDlg::OnWeb() {
    if (HasHandler(AddressKind::kWeb, IDS_SUPPORT_WEB_ADDRESS)) OpenAddress(IDS_SUPPORT_WEB_ADDRESS);
}

void CSupportDlg::OnMail() {
    if (HasHandler(AddressKind::kMail, IDS_SUPPORT_MAIL_ADDRESS)) OpenAddress(IDS_SUPPORT_MAIL_ADDRESS);
}
