#include "window.h"

#include <unordered_map>

namespace {

std::unordered_map<HWND, CWnd*>& WindowMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object that the window being created on this thread will bind to.
thread_local CWnd* windowBeingCreated = nullptr;
thread_local HHOOK creationHook = nullptr;

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && windowBeingCreated) {
        CWnd* window = windowBeingCreated;
        windowBeingCreated = nullptr;
        window->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(creationHook, code, wParam, lParam);
}

// Binds the next window created on this thread to its object while it
// lives. A window created inside another's creation (a child made in
// WM_CREATE) has a scope of its own; the outer hook and object are back when
// it ends, and every hook set is removed.
class CreationScope {
public:
    explicit CreationScope(CWnd* window) : outerWindow_(windowBeingCreated), outerHook_(creationHook) {
        windowBeingCreated = window;
        creationHook = SetWindowsHookExA(WH_CBT, &CreationHook, nullptr, GetCurrentThreadId());
    }
    ~CreationScope() {
        if (creationHook) UnhookWindowsHookEx(creationHook);
        creationHook = outerHook_;
        windowBeingCreated = outerWindow_;
    }
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

private:
    CWnd* outerWindow_;
    HHOOK outerHook_;
};

}  // namespace

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
    auto found = WindowMap().find(window);
    return found == WindowMap().end() ? nullptr : found->second;
}

void CWnd::Attach(HWND window) {
    m_hWnd = window;
    WindowMap()[window] = this;
}

HWND CWnd::Detach() {
    HWND window = m_hWnd;
    if (window) WindowMap().erase(window);
    m_hWnd = nullptr;
    return window;
}

BOOL CWnd::SubclassWindow(HWND window) {
    if (!window || FromHandlePermanent(window)) return FALSE;
    Attach(window);
    auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    // A class registered with our own procedure has no procedure below it.
    m_pfnSuper = previous == &AfxWndProc ? &::DefWindowProcA : previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, id));
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper) SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&) {
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, LPVOID param) {
    CREATESTRUCTA cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menu;
    cs.hInstance = GetModuleHandleA(nullptr);
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return FALSE;

    CreationScope binding(this);
    HWND window = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    return window != nullptr;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *result = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) return OnNotify(wParam, lParam, result);
    if (message == WM_DRAWITEM) {
        // Owner-drawn controls draw themselves.
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        CWnd* control = item->CtlType == ODT_MENU ? nullptr : FromHandlePermanent(item->hwndItem);
        if (control) {
            control->DrawItem(item);
            *result = TRUE;
            return TRUE;
        }
    }
    const AFX_MSGMAP_ENTRY* entry = FindEntry(message, 0, 0);
    if (!entry) return FALSE;
    *result = entry->handler(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    // Menus and accelerators carry no control; both are commands.
    UINT code = lParam ? HIWORD(wParam) : 0;
    return OnCmdMsg(id, code, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* entry = FindEntry(AFX_MSG_NOTIFY, header->code, static_cast<UINT>(header->idFrom));
    if (!entry) return FALSE;
    *result = 0;
    entry->handler(this, reinterpret_cast<WPARAM>(result), lParam);
    return TRUE;
}

LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* object = CWnd::FromHandlePermanent(window);
    if (!object) return ::DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = object->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's code; the message counts
        // as not handled.
        result = 0;
    }
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(window) == object) {
        object->UnsubclassWindow();
        object->PostNcDestroy();
    }
    return result;
}
