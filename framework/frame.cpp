#include "frame.h"

#include "application.h"
#include "resources.h"
#include "view.h"

namespace {

const UINT kFirstViewId = 0xE900;  // the child ID of a frame's view
const char kFrameClass[] = "AfxFrame";

const char* DefaultFrameClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = &::DefWindowProcA;
    windowClass.hInstance = AfxGetInstanceHandle();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kFrameClass;
    AfxRegisterClass(&windowClass);
    return kFrameClass;
}

}  // namespace

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass) cs.lpszClass = DefaultFrameClass();
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    LPCSTR name = MAKEINTRESOURCEA(resourceId);
    HMENU menu = LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name);
    m_hAccelTable = LoadAcceleratorsA(AfxFindResourceHandle(name, RT_ACCELERATOR), name);
    if (context) context_ = *context;
    std::string title = AfxGetApp() ? AfxGetApp()->m_strAppName : std::string();
    if (!CreateEx(0, nullptr, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  parent ? parent->m_hWnd : nullptr, menu, nullptr)) {
        if (menu) DestroyMenu(menu);
        return FALSE;
    }
    if (HICON icon = LoadIconA(AfxFindResourceHandle(name, RT_GROUP_ICON), name)) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    if (context_.m_pNewViewClass) {
        auto* view = dynamic_cast<CView*>(context_.m_pNewViewClass->CreateObject());
        if (!view) {
            DestroyWindow();
            return FALSE;
        }
        view->SetDocument(context_.m_pCurrentDoc);
        if (!view->CreateView(this, kFirstViewId)) {
            delete view;
            DestroyWindow();
            return FALSE;
        }
        SetActiveView(view);
    }
    autoDelete_ = true;
    RecalcLayout();
    return TRUE;
}

void CFrameWnd::RecalcLayout() {
    if (!activeView_ || !activeView_->m_hWnd) return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    MoveWindow(activeView_->m_hWnd, 0, 0, client.right, client.bottom, TRUE);
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL makeVisible) {
    if (activeView_) activeView_->OnInitialUpdate();
    if (!makeVisible) return;
    int show = AfxGetApp() ? AfxGetApp()->m_nCmdShow : SW_SHOWNORMAL;
    ShowWindow(m_hWnd, show);
    UpdateWindow(m_hWnd);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* message) {
    if (m_hAccelTable && TranslateAcceleratorA(m_hWnd, m_hAccelTable, message)) return TRUE;
    // Keyboard navigation between the controls of a form view.
    if (activeView_ && activeView_->m_hWnd && IsChild(activeView_->m_hWnd, message->hwnd))
        return IsDialogMessageA(activeView_->m_hWnd, message);
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, UINT code, CCmdUI* update) {
    if (activeView_ && activeView_->OnCmdMsg(id, code, update)) return TRUE;
    if (CDocument* document = activeView_ ? activeView_->GetDocument() : nullptr) {
        if (document->OnCmdMsg(id, code, update)) return TRUE;
    }
    if (CWnd::OnCmdMsg(id, code, update)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, update);
}

void CFrameWnd::OnInitMenuPopup(HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int index = 0; index < count; ++index) {
        UINT id = GetMenuItemID(menu, index);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
        CCmdUI item(menu, index, id);
        OnCmdMsg(id, 0, &item);
        // A handler may have deleted items; keep to the menu as it is now.
        count = GetMenuItemCount(menu);
    }
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_SIZE:
        RecalcLayout();
        break;
    case WM_SETFOCUS:
        if (activeView_ && activeView_->m_hWnd) {
            ::SetFocus(activeView_->m_hWnd);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        if (AfxGetApp() && AfxGetApp()->m_pMainWnd == this) {
            AfxGetApp()->m_pMainWnd = nullptr;
            PostQuitMessage(0);
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CFrameWnd::PostNcDestroy() {
    if (autoDelete_) delete this;
}
