#include "dialog.h"

#include "application.h"
#include "data_exchange.h"
#include "resources.h"
#include "seams.h"

namespace {

// Posted by a modal run once the dialog is initialised, so the test
// operator works the dialog from inside its own message loop.
const UINT kRunOperator = WM_APP + 0x3F0;

// Messages whose answer a dialog procedure returns itself instead of
// leaving it in DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON ||
           message == WM_INITDIALOG;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CDialog::DoModal() {
    LPCSTR name = MAKEINTRESOURCEA(templateId_);
    HINSTANCE module = AfxFindResourceHandle(name, RT_DIALOG);
    HWND owner = parent_ ? parent_->m_hWnd : (AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr);
    modal_ = true;
    INT_PTR result = DialogBoxParamA(module, name, owner, &AfxDlgProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    templateId_ = templateId;
    parent_ = parent;
    LPCSTR name = MAKEINTRESOURCEA(templateId_);
    HINSTANCE module = AfxFindResourceHandle(name, RT_DIALOG);
    HWND window = CreateDialogParamA(module, name, parent ? parent->m_hWnd : nullptr, &AfxDlgProc,
                                     reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (modal_)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.Failed();
}

void CDialog::DoDataExchange(CDataExchange*) {}

// Inside a dialog procedure, default processing is the dialog manager's.
LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) {
    return 0;
}

void CDialog::PostNcDestroy() {}

INT_PTR CALLBACK AfxDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Attach(window);
        BOOL focus = TRUE;
        try {
            focus = dialog->OnInitDialog();
        } catch (...) {
        }
        if (dialog->modal_) PostMessageA(window, kRunOperator, 0, 0);
        return focus;
    }
    auto* dialog = static_cast<CDialog*>(CWnd::FromHandlePermanent(window));
    if (!dialog) return FALSE;
    if (message == kRunOperator) {
        AfxRunModalOperator(window);
        return TRUE;
    }
    LRESULT result = 0;
    BOOL handled = FALSE;
    try {
        handled = dialog->OnWndMsg(message, wParam, lParam, &result);
    } catch (...) {
        handled = FALSE;
    }
    if (message == WM_NCDESTROY) {
        dialog->Detach();
        dialog->PostNcDestroy();
        return FALSE;
    }
    if (!handled) return FALSE;
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}
