#include "command_target.h"

void CCmdUI::Enable(BOOL on) {
    EnableMenuItem(menu_, index_, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    handled = true;
}

namespace {

// Marks a menu item checked or not, with a check mark or a radio bullet.
bool MarkItem(HMENU menu, UINT index, bool radio, bool on) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    if (!GetMenuItemInfoA(menu, index, TRUE, &info)) return false;
    info.fType = radio ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
    info.fState = (info.fState & ~MFS_CHECKED) | (on ? MFS_CHECKED : 0);
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
