#include "message_log_dialog.h"

#include <cstring>

#include "application.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "resources.h"

namespace {

const int kColumnCount = 5;
const int kSeenImage = 0;
const int kNewImage = 1;
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

void SetColumnWidths(HWND list, int width) {
    for (int column = 0; column < kColumnCount; ++column) ListView_SetColumnWidth(list, column, width);
}

HICON LoadLibraryIcon(UINT id) {
    LPCSTR name = MAKEINTRESOURCEA(id);
    HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON);
    return static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}

}  // namespace

BEGIN_MESSAGE_MAP(CMessageLogDlg, CDialog)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_LOG_LIST, OnItemChanged)
ON_NOTIFY(LVN_COLUMNCLICK, IDC_LOG_LIST, OnColumnClick)
ON_COMMAND(ID_LOG_DELETE, OnDeleteLog)
ON_COMMAND(ID_LOG_MARK_ALL_SEEN, OnMarkAllSeen)
ON_MESSAGE(WM_CTLCOLOREDIT, OnControlColor)
ON_MESSAGE(WM_CTLCOLORSTATIC, OnControlColor)
END_MESSAGE_MAP()

CMessageLogDlg::CMessageLogDlg() : CDialog(IDD_MESSAGE_LOG), storePath_(MessageStorePath()) {
    blueBrush_.Attach(CreateSolidBrush(kBlue));
}

HWND CMessageLogDlg::List() const {
    return GetDlgItem(IDC_LOG_LIST);
}

BOOL CMessageLogDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = List();
    // The dialog owns the pictures, so the list must leave them alone.
    SetWindowLongA(list, GWL_STYLE, GetWindowLongA(list, GWL_STYLE) | LVS_REPORT | LVS_SHAREIMAGELISTS);
    for (int column = 0; column < kColumnCount; ++column) {
        std::string header = AfxLoadString(IDS_LOG_STATUS + column);
        LVCOLUMNA description = {};
        description.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
        description.fmt = LVCFMT_LEFT;
        description.pszText = header.data();
        description.cx = static_cast<int>(header.size()) + 25;
        ListView_InsertColumn(list, column, &description);
        ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE_USEHEADER);
    }
    images_.Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR8 | ILC_MASK, 4, 4);
    ListView_SetImageList(list, images_.Get(), LVSIL_SMALL);
    for (UINT icon : {IDI_MESSAGE_SEEN, IDI_MESSAGE_NEW}) {
        HICON loaded = LoadLibraryIcon(icon);
        images_.Add(loaded);
        if (loaded) DestroyIcon(loaded);
    }
    Refresh();
    return TRUE;
}

void CMessageLogDlg::Refresh() {
    HWND list = List();
    ListView_DeleteAllItems(list);
    SetDlgItemTextA(m_hWnd, IDC_LOG_TEXT, AfxLoadString(IDS_LOG_EMPTY).c_str());
    // A slot that is not listed keeps no record: marking all seen would
    // otherwise write into an emptied slot, or mark a message never shown.
    RegistryKey store;
    const bool opened = store.Open(HKEY_LOCAL_MACHINE, storePath_.c_str()) != 0;
    const std::string placeholder = AfxLoadString(IDS_NOBODY);
    for (int slot = 0; slot < kMessageSlotCount; ++slot) {
        if (opened && ReadMessageSlot(store, slot, slots[slot], placeholder))
            InsertRow(slot);
        else
            slots[slot] = MessageSlot{};
    }
    store.Close();
    int rows = ListView_GetItemCount(list);
    SetColumnWidths(list, rows > 0 ? LVSCW_AUTOSIZE : LVSCW_AUTOSIZE_USEHEADER);
    SortRows();
    shownSlot = -1;
    // Selecting the top row shows its message through the list's notification.
    if (rows > 0) ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
}

void CMessageLogDlg::InsertRow(int slot) {
    HWND list = List();
    MessageSlot& record = slots[slot];
    std::string status = AfxLoadString(record.seen ? IDS_LOG_SEEN : IDS_LOG_NEW);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 0;
    item.pszText = status.data();
    item.iImage = record.seen ? kSeenImage : kNewImage;
    item.lParam = slot;
    int row = ListView_InsertItem(list, &item);
    if (row < 0) return;
    ListView_SetItemText(list, row, 4, record.caption.data());
    if (ParseTimeStamp(record)) {
        std::string time = TimeText(record.day, record.millisecond);
        ListView_SetItemText(list, row, 1, time.data());
    }
    ListView_SetItemText(list, row, 2, record.station.data());
    ListView_SetItemText(list, row, 3, record.user.data());
}

void CMessageLogDlg::SetStatus(int row, const MessageSlot& record) {
    std::string status = AfxLoadString(record.seen ? IDS_LOG_SEEN : IDS_LOG_NEW);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = status.data();
    item.iImage = record.seen ? kSeenImage : kNewImage;
    ListView_SetItem(List(), &item);
}

void CMessageLogDlg::SortRows() {
    ListView_SortItems(List(), &CMessageLogDlg::CompareRows, reinterpret_cast<LPARAM>(this));
}

int CALLBACK CMessageLogDlg::CompareRows(LPARAM first, LPARAM second, LPARAM dialog) {
    auto* self = reinterpret_cast<CMessageLogDlg*>(dialog);
    if (first < 0 || first >= kMessageSlotCount || second < 0 || second >= kMessageSlotCount) return 0;
    return CompareMessageSlots(self->slots[first], self->slots[second], self->sortColumn, self->descending);
}

int CMessageLogDlg::RowOf(int slot) const {
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = slot;
    return ListView_FindItem(List(), -1, &find);
}

void CMessageLogDlg::OnItemChanged(NMHDR* header, LRESULT* result) {
    *result = 0;
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if (!(change->uChanged & LVIF_STATE) || !(change->uNewState & LVIS_SELECTED)) return;
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = change->iItem;
    if (!ListView_GetItem(List(), &item)) return;
    int slot = static_cast<int>(item.lParam);
    if (slot < 0 || slot >= kMessageSlotCount) return;
    if (slot != shownSlot) {
        shownSlot = slot;
        SetDlgItemTextA(m_hWnd, IDC_LOG_TEXT, MessageForDisplay(slots[slot].message).c_str());
        return;
    }
    ToggleSeen(slot);
}

void CMessageLogDlg::ToggleSeen(int slot) {
    MessageSlot& record = slots[slot];
    record.seen = record.seen == 0 ? 1 : 0;
    RegistryKey store;
    if (store.Open(HKEY_LOCAL_MACHINE, storePath_.c_str())) {
        store.SetByte(SlotValueName("%cSeenByFrontEnd", slot).c_str(), record.seen);
        store.Close();
    }
    int row = RowOf(slot);
    if (row >= 0) SetStatus(row, record);
    RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CMessageLogDlg::OnColumnClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
    descending = column == sortColumn ? !descending : false;
    sortColumn = column;
    SortRows();
}

void CMessageLogDlg::OnDeleteLog() {
    if (AfxMessageBox(IDS_LOG_CONFIRM_DELETE, MB_YESNO) != IDYES) return;
    DeleteSubkey(HKEY_LOCAL_MACHINE, storePath_.c_str());
    Refresh();
}

void CMessageLogDlg::OnMarkAllSeen() {
    RegistryKey store;
    if (!store.Open(HKEY_LOCAL_MACHINE, storePath_.c_str())) return;
    int changed = 0;
    for (int slot = 0; slot < kMessageSlotCount; ++slot) {
        MessageSlot& record = slots[slot];
        if (record.message.empty() || record.seen != 0) continue;
        record.seen = 1;
        store.SetByte(SlotValueName("%cSeenByFrontEnd", slot).c_str(), 1);
        ++changed;
    }
    store.Close();
    if (changed > 0) Refresh();
}

// The message pane is white on blue; every other control keeps the
// system's colours.
LRESULT CMessageLogDlg::OnControlColor(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (GetDlgCtrlID(control) != IDC_LOG_TEXT) return 0;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, kWhite);
    SetBkColor(dc, kBlue);
    return reinterpret_cast<LRESULT>(blueBrush_.Get());
}
