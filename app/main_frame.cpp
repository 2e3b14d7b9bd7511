#include "main_frame.h"

#include "application.h"
#include "control_center_app.h"

IMPLEMENT_DYNCREATE(CMainFrame)

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    // Fixed size, no maximise box, and a title that only start-up sets.
    cs.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    cs.lpszClass = static_cast<CControlCenterApp*>(AfxGetApp())->m_pszWindowClass;
    return CFrameWnd::PreCreateWindow(cs);
}
