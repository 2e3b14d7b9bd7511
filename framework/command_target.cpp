#include "command_target.h"

#include <cstddef>

void CCmdUI::Enable(BOOL on) {
    EnableMenuItem(menu_, index_, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    handled = true;
}

namespace {

constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
#if defined(_WIN32) && !defined(_WIN64)
static_assert(kMenuItemInfoSize == 44, "the Windows 95 size of MENUITEMINFOA");
#endif

// Marks a menu item checked or not, with a check mark or a radio bullet.
// Windows 95 knows the item's type only together with its text (no
// MIIM_FTYPE), so the text is read and written back with it, and the record
// ends at cch, the size those systems accept.
bool MarkItem(HMENU menu, UINT index, bool radio, bool on) {
    char text[256] = {};
    MENUITEMINFOA info = {};
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_TYPE | MIIM_STATE;
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, index, TRUE, &info)) return false;
    info.fType = radio ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
    info.fState = (info.fState & ~MFS_CHECKED) | (on ? MFS_CHECKED : 0);
    info.dwTypeData = text;
    return SetMenuItemInfoA(menu, index, TRUE, &info) != FALSE;
}

}  // namespace

void CCmdUI::SetCheck(int check) {
    if (MarkItem(menu_, index_, false, check != 0)) handled = true;
}

void CCmdUI::SetRadio(BOOL on) {
    if (MarkItem(menu_, index_, true, on != FALSE)) handled = true;
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->entries; entry->handler; ++entry) {
            if (entry->message != message) continue;
            if (message == AFX_MSG_COMMAND || message == AFX_MSG_UPDATE || message == AFX_MSG_NOTIFY) {
                if (entry->code != code || id < entry->firstId || id > entry->lastId) continue;
            }
            return entry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, UINT code, CCmdUI* update) {
    if (update) {
        const AFX_MSGMAP_ENTRY* entry = FindEntry(AFX_MSG_UPDATE, 0, id);
        if (!entry) return FALSE;
        entry->handler(this, id, reinterpret_cast<LPARAM>(update));
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindEntry(AFX_MSG_COMMAND, code, id);
    if (!entry) return FALSE;
    entry->handler(this, id, 0);
    return TRUE;
}
