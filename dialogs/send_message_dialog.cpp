#include "send_message_dialog.h"

#include "data_exchange.h"
#include "resource_ids.h"

namespace {

const int kMessageLimit = 200;

}  // namespace

BEGIN_MESSAGE_MAP(CSendMessageDlg, CDialog)
ON_EN_CHANGE(IDC_MESSAGE_TEXT, OnTextChange)
END_MESSAGE_MAP()

CSendMessageDlg::CSendMessageDlg(CWnd* parent) : CDialog(IDD_SEND_MESSAGE, parent) {}

void CSendMessageDlg::DoDataExchange(CDataExchange* exchange) {
    DDX_Text(exchange, IDC_MESSAGE_TEXT, message);
    DDV_MaxChars(exchange, message, kMessageLimit);
}

void CSendMessageDlg::OnTextChange() {
    if (edited) return;
    edited = 1;
    EnableWindow(GetDlgItem(IDOK), TRUE);
}
