#include "property_sheet.h"

#include <commctrl.h>

#include <cstddef>
#include <cstring>

#include "application.h"
#include "resources.h"
#include "seams.h"

namespace {

// Posted once the sheet is initialised, so the test operator works the
// sheet from inside its own message loop.
const UINT kRunSheetOperator = WM_APP + 0x3F1;
// Posted by a page to itself to mark it modified once the sheet is ready.
const UINT kMarkAgain = WM_APP + 0x3F2;

// The sheet whose system window is being made; the system's callback
// carries no pointer of its own. Sheets run on the user interface thread
// only, one being made at a time.
CPropertySheet* sheetBeingMade = nullptr;

// The common controls of Windows 95 know only the first versions of the page
// and sheet records and refuse larger sizes; no field past them is used.
constexpr UINT kPageSize = offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(PROPSHEETPAGEA::pcRefParent);
constexpr UINT kSheetSize = offsetof(PROPSHEETHEADERA, pfnCallback) + sizeof(PROPSHEETHEADERA::pfnCallback);
#if defined(_WIN32) && !defined(_WIN64)
static_assert(kPageSize == 40 && kSheetSize == 40, "the Windows 95 sizes of the property sheet records");
#endif

// The system steps through the pages by each one's size, so the records are
// laid out one after the other at the first version's size.
std::vector<BYTE> PackPages(const std::vector<PROPSHEETPAGEA>& pages) {
    std::vector<BYTE> packed(pages.size() * kPageSize);
    for (size_t index = 0; index < pages.size(); ++index)
        memcpy(packed.data() + index * kPageSize, &pages[index], kPageSize);
    return packed;
}

}  // namespace

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId) {
    if (captionId) AfxLoadString(captionId, title_);
}

PROPSHEETPAGEA CPropertyPage::Describe() {
    PROPSHEETPAGEA page = {};
    page.dwSize = kPageSize;
    page.dwFlags = PSP_DEFAULT;
    LPCSTR name = MAKEINTRESOURCEA(templateId_);
    page.hInstance = AfxFindResourceHandle(name, RT_DIALOG);
    page.pszTemplate = name;
    page.pfnDlgProc = &AfxPropPageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    if (!title_.empty()) {
        page.dwFlags |= PSP_USETITLE;
        page.pszTitle = title_.c_str();
    }
    return page;
}

void CPropertyPage::SetModified(BOOL changed) {
    modified_ = changed != FALSE;
    HWND sheet = ::GetParent(m_hWnd);
    if (!sheet) return;
    ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
    // While the page initialises, the sheet neither knows it nor has set up
    // its buttons; the mark is made again once the sheet is ready.
    if (changed && !::IsWindowVisible(m_hWnd)) ::PostMessageA(m_hWnd, kMarkAgain, 0, 0);
}

BOOL CPropertyPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message != kMarkAgain) return CDialog::OnWndMsg(message, wParam, lParam, result);
    HWND sheet = ::GetParent(m_hWnd);
    if (modified_ && sheet) ::SendMessageA(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
    *result = 0;
    return TRUE;
}

BOOL CPropertyPage::OnSetActive() {
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() {
    OnCancel();
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != ::GetParent(m_hWnd)) return CDialog::OnNotify(wParam, lParam, result);
    switch (header->code) {
    case PSN_SETACTIVE:
        // 0 accepts the activation; -1 would refuse it.
        *result = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        // Non-zero keeps the page.
        *result = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_APPLY:
        if (OnApply()) {
            // The sheet takes its Apply button back once every page applied.
            modified_ = false;
            *result = PSNRET_NOERROR;
        } else {
            *result = PSNRET_INVALID_NOCHANGEPAGE;
        }
        return TRUE;
    case PSN_RESET:
        OnReset();
        *result = 0;
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
}

INT_PTR CALLBACK AfxPropPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The page arrives inside the system's copy of its description.
    if (message == WM_INITDIALOG) lParam = reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam;
    return AfxDlgProc(window, message, wParam, lParam);
}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage)
    : parent_(parent), selectPage_(selectPage) {
    AfxLoadString(captionId, caption_);
}

INT_PTR CPropertySheet::DoModal() {
    if (pages_.empty()) return IDCANCEL;
    std::vector<PROPSHEETPAGEA> pages;
    pages.reserve(pages_.size());
    for (CPropertyPage* page : pages_) pages.push_back(page->Describe());
    const std::vector<BYTE> packed = PackPages(pages);

    PROPSHEETHEADERA header = {};
    header.dwSize = kSheetSize;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    header.hwndParent = parent_ ? parent_->m_hWnd : (AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr);
    header.hInstance = AfxGetResourceHandle();
    header.pszCaption = caption_.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = selectPage_ < pages.size() ? selectPage_ : 0;
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(packed.data());
    header.pfnCallback = &CPropertySheet::SheetCallback;

    endedWithOk_ = false;
    sheetBeingMade = this;
    INT_PTR shown = PropertySheetA(&header);
    sheetBeingMade = nullptr;
    if (shown < 0) return -1;
    return endedWithOk_ ? IDOK : IDCANCEL;
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && sheetBeingMade) {
        CPropertySheet* sheet = sheetBeingMade;
        sheetBeingMade = nullptr;
        sheet->SubclassWindow(window);
        ::PostMessageA(window, kRunSheetOperator, 0, 0);
    }
    return 0;
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunSheetOperator) {
        AfxRunModalOperator(m_hWnd);
        return 0;
    }
    LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    // The sheet lets go of its pages only when OK went through: a page that
    // refused keeps it open.
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && m_hWnd &&
        !::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0))
        endedWithOk_ = true;
    return result;
}
