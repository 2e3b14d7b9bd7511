#include "data_exchange.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "application.h"
#include "resources.h"
#include "window.h"

namespace {

std::string WindowText(HWND control) {
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(control)) + 2, '\0');
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    return text.data();
}

bool IsClass(HWND control, const char* name) {
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    return lstrcmpiA(className, name) == 0;
}

bool IsRadioButton(HWND control) {
    if (!IsClass(control, "Button")) return false;
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// A number of the whole text, blanks around it allowed.
bool ParseInt(const std::string& text, int& value) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long number = strtol(start, &end, 10);
    if (end == start || errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return false;
    value = static_cast<int>(number);
    return true;
}

}  // namespace

HWND CDataExchange::PrepareCtrl(int controlId) {
    m_idLastControl = controlId;
    m_bEditLastControl = false;
    return m_pDlgWnd->GetDlgItem(controlId);
}

HWND CDataExchange::PrepareEditCtrl(int controlId) {
    HWND control = PrepareCtrl(controlId);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail() {
    failed_ = true;
    HWND control = m_pDlgWnd->GetDlgItem(m_idLastControl);
    if (!control) return;
    SetFocus(control);
    if (m_bEditLastControl) ::SendMessageA(control, EM_SETSEL, 0, -1);
}

void DDX_Text(CDataExchange* exchange, int controlId, std::string& value) {
    if (exchange->Failed()) return;
    HWND control = exchange->PrepareEditCtrl(controlId);
    if (exchange->m_bSaveAndValidate)
        value = WindowText(control);
    else
        SetWindowTextA(control, value.c_str());
}

void DDX_Text(CDataExchange* exchange, int controlId, int& value) {
    if (exchange->Failed()) return;
    HWND control = exchange->PrepareEditCtrl(controlId);
    if (!exchange->m_bSaveAndValidate) {
        SetWindowTextA(control, std::to_string(value).c_str());
        return;
    }
    // The field keeps its value when the text is not a number.
    int number = 0;
    if (ParseInt(WindowText(control), number)) {
        value = number;
        return;
    }
    AfxMessageBox("Please enter an integer.", MB_OK | MB_ICONEXCLAMATION);
    exchange->Fail();
}

void DDV_MaxChars(CDataExchange* exchange, const std::string& value, int count) {
    if (exchange->Failed()) return;
    if (!exchange->m_bSaveAndValidate) {
        HWND control = exchange->m_pDlgWnd->GetDlgItem(exchange->m_idLastControl);
        if (control) ::SendMessageA(control, IsClass(control, "ComboBox") ? CB_LIMITTEXT : EM_LIMITTEXT, count, 0);
        return;
    }
    if (value.size() <= static_cast<size_t>(count)) return;
    AfxMessageBox(AfxFormat("Please enter no more than %d characters.", count).c_str(), MB_OK | MB_ICONEXCLAMATION);
    exchange->Fail();
}

void DDX_Check(CDataExchange* exchange, int controlId, int& value) {
    if (exchange->Failed()) return;
    HWND control = exchange->PrepareCtrl(controlId);
    if (exchange->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* exchange, int controlId, int& value) {
    if (exchange->Failed()) return;
    HWND control = exchange->PrepareCtrl(controlId);
    if (exchange->m_bSaveAndValidate) value = -1;
    // The group: the first button and the radio buttons after it up to the
    // next control that starts a group of its own.
    int index = 0;
    for (HWND button = control; button; button = GetWindow(button, GW_HWNDNEXT)) {
        if (button != control && (GetWindowLongA(button, GWL_STYLE) & WS_GROUP)) break;
        if (!IsRadioButton(button)) continue;
        if (exchange->m_bSaveAndValidate) {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* exchange, int controlId, int& index) {
    if (exchange->Failed()) return;
    HWND control = exchange->PrepareCtrl(controlId);
    if (exchange->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* exchange, int controlId, std::string& value) {
    if (exchange->Failed()) return;
    HWND control = exchange->PrepareCtrl(controlId);
    if (exchange->m_bSaveAndValidate) {
        value = WindowText(control);
        return;
    }
    // An empty text chooses nothing: every item would begin with it.
    if (value.empty()) return;
    // A text no item begins with still shows in a combo box that has an
    // edit field.
    if (::SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str())) ==
        CB_ERR)
        SetWindowTextA(control, value.c_str());
}

void DDX_LBIndex(CDataExchange* exchange, int controlId, int& index) {
    if (exchange->Failed()) return;
    HWND control = exchange->PrepareCtrl(controlId);
    if (exchange->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(control, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange* exchange, int controlId, std::string& value) {
    if (exchange->Failed()) return;
    HWND control = exchange->PrepareCtrl(controlId);
    if (!exchange->m_bSaveAndValidate) {
        if (!value.empty())
            ::SendMessageA(control, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str()));
        return;
    }
    value.clear();
    LRESULT selected = ::SendMessageA(control, LB_GETCURSEL, 0, 0);
    if (selected < 0) return;
    LRESULT length = ::SendMessageA(control, LB_GETTEXTLEN, selected, 0);
    if (length <= 0) return;
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(control, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
    value.assign(text.data());
}
