// Objects that take commands: the application, documents and windows.
#pragma once

#include <windows.h>

#include "message_map.h"
#include "runtime_class.h"

// What a menu update handler changes: one menu item.
class CCmdUI {
public:
    CCmdUI(HMENU menu, UINT index, UINT id) : menu_(menu), index_(index), m_nID(id) {}
    void Enable(BOOL on = TRUE);
    void SetCheck(int check = 1);
    // A radio mark (a bullet) instead of a check mark.
    void SetRadio(BOOL on = TRUE);
    // Whether some handler took care of the item.
    bool handled = false;

private:
    HMENU menu_;
    UINT index_;

public:
    UINT m_nID;
};

class CCmdTarget : public CObject {
public:
    virtual ~CCmdTarget() = default;

    // Looks the command up in this object's message map and its bases:
    // code 0 is a command (menu, accelerator, button click), other codes
    // are control notifications. With update set, runs the item's update
    // handler instead. True when a handler ran.
    virtual BOOL OnCmdMsg(UINT id, UINT code, CCmdUI* update);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry for a message (and, for commands, code and ID).
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;
};
