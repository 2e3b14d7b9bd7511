#include "bitmap_button.h"

#include "gdi.h"
#include "resources.h"

namespace {

HBITMAP LoadPicture(const std::string& name) {
    return name.empty() ? nullptr : AfxLoadPicture(name.c_str());
}

}  // namespace

CBitmapButton::~CBitmapButton() {
    Release();
}

void CBitmapButton::Release() {
    for (HBITMAP* picture : {&up_, &down_, &focused_, &disabled_}) {
        if (*picture) DeleteObject(*picture);
        *picture = nullptr;
    }
}

BOOL CBitmapButton::LoadBitmaps(const std::string& up, const std::string& down, const std::string& focused,
                                const std::string& disabled) {
    Release();
    up_ = LoadPicture(up);
    down_ = LoadPicture(down);
    focused_ = LoadPicture(focused);
    disabled_ = LoadPicture(disabled);
    return up_ != nullptr;
}

BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent) {
    if (!m_hWnd && !SubclassDlgItem(id, parent)) return FALSE;
    char caption[64] = {};
    GetWindowTextA(m_hWnd, caption, sizeof caption);
    std::string name = caption;
    if (name.empty() || !LoadBitmaps(name + "U", name + "D", name + "F", name + "X")) return FALSE;
    SizeToContent();
    return TRUE;
}

void CBitmapButton::SizeToContent() {
    BITMAP info = {};
    if (!up_ || !GetObjectA(up_, sizeof info, &info)) return;
    SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(DRAWITEMSTRUCT* item) {
    HBITMAP picture = up_;
    if ((item->itemState & ODS_SELECTED) && down_)
        picture = down_;
    else if ((item->itemState & ODS_FOCUS) && focused_)
        picture = focused_;
    else if ((item->itemState & ODS_DISABLED) && disabled_)
        picture = disabled_;
    if (!picture) return;
    CMemoryDC memory(item->hDC);
    CSelectObject selected(memory.Get(), picture);
    const RECT& area = item->rcItem;
    BitBlt(item->hDC, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.Get(), 0, 0, SRCCOPY);
}
