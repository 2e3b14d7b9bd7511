#include "running_programs_dialog.h"

#include "resource_ids.h"

CRunningProgramsDlg::CRunningProgramsDlg(CWnd* parent) : CDialog(IDD_RUNNING_PROGRAMS, parent) {}
