// Message maps: static tables that bind messages, commands and control
// notifications to member functions. Each entry holds a small thunk made for
// one member function, so a table is checked by the compiler and costs one
// indirect call to dispatch.
#pragma once

#include <windows.h>

class CCmdTarget;
class CCmdUI;

using AfxHandler = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

// Pseudo messages for entries that are not window messages.
enum : UINT {
    AFX_MSG_COMMAND = 0xC000'0001,  // a command or control notification (code, id)
    AFX_MSG_UPDATE = 0xC000'0002,   // a menu update handler (id); lParam is the CCmdUI
    AFX_MSG_NOTIFY = 0xC000'0003,   // WM_NOTIFY (code, id); lParam is the NMHDR, wParam the LRESULT*
};

struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT code;
    UINT firstId;
    UINT lastId;
    AfxHandler handler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*base)();
    const AFX_MSGMAP_ENTRY* entries;
};

namespace afx {

// The class that declares a member function, deduced from its pointer.
template <typename Member>
struct MemberOf;
template <typename Class, typename Result, typename... Args>
struct MemberOf<Result (Class::*)(Args...)> {
    using Type = Class;
};

template <auto F>
using ClassOf = typename MemberOf<decltype(F)>::Type;

template <auto F>
LRESULT Call(CCmdTarget* target, WPARAM, LPARAM) {
    (static_cast<ClassOf<F>*>(target)->*F)();
    return 0;
}

template <auto F>
LRESULT CallWithId(CCmdTarget* target, WPARAM wParam, LPARAM) {
    (static_cast<ClassOf<F>*>(target)->*F)(static_cast<UINT>(wParam));
    return 0;
}

template <auto F>
LRESULT CallUpdate(CCmdTarget* target, WPARAM, LPARAM lParam) {
    (static_cast<ClassOf<F>*>(target)->*F)(reinterpret_cast<CCmdUI*>(lParam));
    return 0;
}

template <auto F>
LRESULT CallNotify(CCmdTarget* target, WPARAM wParam, LPARAM lParam) {
    (static_cast<ClassOf<F>*>(target)->*F)(reinterpret_cast<NMHDR*>(lParam), reinterpret_cast<LRESULT*>(wParam));
    return 0;
}

// A window message whose handler takes the raw parameters and answers.
template <auto F>
LRESULT CallRaw(CCmdTarget* target, WPARAM wParam, LPARAM lParam) {
    return (static_cast<ClassOf<F>*>(target)->*F)(wParam, lParam);
}

}  // namespace afx

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override; \
                                                      \
public:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass = theClass;                     \
        using TheBaseClass = baseClass;                 \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                      \
    { 0, 0, 0, 0, nullptr }                                                    \
    }                                                                          \
    ;                                                                          \
    static_assert(sizeof(ThisClass) > 0);                                      \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                               \
    }

// Menu commands, accelerators and button clicks.
#define ON_COMMAND(id, fn) {AFX_MSG_COMMAND, 0, id, id, &afx::Call<&ThisClass::fn>},
#define ON_COMMAND_RANGE(first, last, fn) {AFX_MSG_COMMAND, 0, first, last, &afx::CallWithId<&ThisClass::fn>},
#define ON_UPDATE_COMMAND_UI(id, fn) {AFX_MSG_UPDATE, 0, id, id, &afx::CallUpdate<&ThisClass::fn>},
#define ON_CONTROL(code, id, fn) {AFX_MSG_COMMAND, code, id, id, &afx::Call<&ThisClass::fn>},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn) {AFX_MSG_NOTIFY, static_cast<UINT>(code), id, id, &afx::CallNotify<&ThisClass::fn>},
// Any window message, handled with its raw parameters.
#define ON_MESSAGE(message, fn) {message, 0, 0, 0, &afx::CallRaw<&ThisClass::fn>},

#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, &afx::Call<&ThisClass::OnClose>},
