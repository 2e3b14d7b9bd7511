// The station message log: the messages the stations raised, newest first,
// one shown at a time in a white-on-blue pane; a row's status toggles
// between new and seen, all can be marked seen at once, and the whole log
// can be deleted.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "dialog.h"
#include "gdi.h"
#include "image_list.h"
#include "message_slots.h"

class CMessageLogDlg : public CDialog {
public:
    CMessageLogDlg();

    BOOL OnInitDialog() override;

    int sortColumn = 1;
    int shownSlot = -1;
    bool descending = true;
    MessageSlot slots[kMessageSlotCount];

protected:
    void Refresh();
    void InsertRow(int slot);
    void SetStatus(int row, const MessageSlot& record);
    void SortRows();
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM dialog);

    void OnItemChanged(NMHDR* header, LRESULT* result);
    void OnColumnClick(NMHDR* header, LRESULT* result);
    void OnDeleteLog();
    void OnMarkAllSeen();
    LRESULT OnControlColor(WPARAM wParam, LPARAM lParam);
    void ToggleSeen(int slot);

    HWND List() const;
    // The list row that shows the slot, or -1.
    int RowOf(int slot) const;

    CBrush blueBrush_;
    CImageList images_;
    std::string storePath_;

    DECLARE_MESSAGE_MAP()
};
