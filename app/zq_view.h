// The home view: eight picture buttons for the everyday tasks over a
// background picture chosen by the boards' model markers and the system's
// language.
#pragma once

#include "bitmap_button.h"
#include "gdi.h"
#include "view.h"

class CZqView : public CFormView {
    DECLARE_DYNCREATE(CZqView)

public:
    CZqView();

    void OnInitialUpdate() override;
    void OnDraw(HDC dc) override;
    // The view holds no fields to show; nothing is repainted either.
    void OnUpdate(CView*, LPARAM) override {}
    BOOL DestroyWindow() override;

    void EnableStationButtons(BOOL launchEnabled, BOOL stopEnabled);

    // The pictures in use, for a look from outside.
    // The palette made from the picture's colours; none on a display
    // without palettes.
    HPALETTE Palette() const { return palette_.Get(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnRemoveUser();
    void OnStationCheck();
    void OnStationSettings();
    void OnSendMessage();
    void OnLaunch();
    void OnStop();
    void OnHelpButton();
    void OnExit();

    bool Marked() const;
    void SendToFrame(UINT command);

    // In the order of the items 1015, 1013, 1009, 1003, 1008, 1007, 1006, 1005.
    CBitmapButton buttons_[8];
    CBitmap background_;
    CPalette palette_;
    char standardPictureName_[20];
    char markedPictureName_[20];

    DECLARE_MESSAGE_MAP()
};
