#include "view.h"

#include "application.h"
#include "frame.h"
#include "resources.h"

namespace {

// The dialog procedure of a form: the form's object handles its messages
// once it is bound, so the procedure itself does nothing.
INT_PTR CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

const char kViewClass[] = "AfxView";

}  // namespace

BOOL CView::CreateView(CWnd* frame, UINT id) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &::DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kViewClass;
    AfxRegisterClass(&windowClass);
    return CreateEx(0, kViewClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame->m_hWnd,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CView::OnUpdate(CView*, LPARAM) {
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CView::OnDraw(HDC) {}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        OnDraw(dc);
        EndPaint(m_hWnd, &paint);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CFormView::CreateView(CWnd* frame, UINT id) {
    LPCSTR name = MAKEINTRESOURCEA(templateId_);
    HINSTANCE module = AfxFindResourceHandle(name, RT_DIALOG);
    HWND form = CreateDialogParamA(module, name, frame->m_hWnd, &FormProc, 0);
    if (!form || !SubclassWindow(form)) {
        if (form) ::DestroyWindow(form);
        return FALSE;
    }
    SetWindowLongPtrA(form, GWLP_ID, static_cast<LONG_PTR>(id));
    RECT size;
    GetWindowRect(form, &size);
    formSize_ = {size.right - size.left, size.bottom - size.top};
    ShowWindow(form, SW_SHOW);
    return TRUE;
}

void CFormView::ResizeParentToFit(BOOL shrinkOnly) {
    HWND frame = GetParent(m_hWnd);
    if (!frame) return;
    RECT client;
    GetClientRect(frame, &client);
    RECT outer;
    GetWindowRect(frame, &outer);
    int width = formSize_.cx, height = formSize_.cy;
    int extraWidth = (outer.right - outer.left) - client.right;
    int extraHeight = (outer.bottom - outer.top) - client.bottom;
    if (shrinkOnly && width > client.right) width = client.right;
    if (shrinkOnly && height > client.bottom) height = client.bottom;
    SetWindowPos(frame, nullptr, 0, 0, width + extraWidth, height + extraHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
