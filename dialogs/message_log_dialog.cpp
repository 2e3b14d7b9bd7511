#include "message_log_dialog.h"

#include "resource_ids.h"

CMessageLogDlg::CMessageLogDlg() : CDialog(IDD_MESSAGE_LOG) {}
