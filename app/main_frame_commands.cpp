// The main window's account and maintenance commands. Each one's work is
// built with its dialogs; until then the menu item is routed here and does
// nothing.
#include "main_frame.h"

void CMainFrame::OnSendMessage() {}

void CMainFrame::OnShutdownSystem() {}

void CMainFrame::OnRemoveUser() {}

void CMainFrame::OnStationCheck() {}

void CMainFrame::OnStationSettings() {}
