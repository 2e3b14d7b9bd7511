// Owns a list of small pictures for list and tree controls. A control given
// the list must not destroy it itself (list views need
// LVS_SHAREIMAGELISTS).
#pragma once

#include <windows.h>

#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int width, int height, UINT flags, int initial, int grow) {
        DeleteImageList();
        list_ = ImageList_Create(width, height, flags, initial, grow);
        return list_ != nullptr;
    }
    // The picture's index, or -1 when it could not be added.
    int Add(HICON icon) { return list_ && icon ? ImageList_AddIcon(list_, icon) : -1; }
    void DeleteImageList() {
        if (list_) ImageList_Destroy(list_);
        list_ = nullptr;
    }
    HIMAGELIST Get() const { return list_; }

private:
    HIMAGELIST list_ = nullptr;
};
