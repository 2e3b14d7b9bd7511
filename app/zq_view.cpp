#include "zq_view.h"

#include <cstring>
#include <vector>

#include "main_frame.h"
#include "resource_ids.h"
#include "resources.h"

IMPLEMENT_DYNCREATE(CZqView)

namespace {

// The buttons' items, in the order of the view's members.
const UINT kButtonItems[8] = {IDC_HOME_REMOVE_USER, IDC_HOME_CHECK, IDC_HOME_SETTINGS, IDC_HOME_MESSAGE,
                              IDC_HOME_LAUNCH,      IDC_HOME_STOP,  IDC_HOME_HELP,     IDC_HOME_EXIT};

int Member(UINT item) {
    for (int i = 0; i < 8; ++i) {
        if (kButtonItems[i] == item) return i;
    }
    return 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(CZqView, CFormView)
ON_BN_CLICKED(IDC_HOME_REMOVE_USER, OnRemoveUser)
ON_BN_CLICKED(IDC_HOME_CHECK, OnStationCheck)
ON_BN_CLICKED(IDC_HOME_SETTINGS, OnStationSettings)
ON_BN_CLICKED(IDC_HOME_MESSAGE, OnSendMessage)
ON_BN_CLICKED(IDC_HOME_LAUNCH, OnLaunch)
ON_BN_CLICKED(IDC_HOME_STOP, OnStop)
ON_BN_CLICKED(IDC_HOME_HELP, OnHelpButton)
ON_BN_CLICKED(IDC_HOME_EXIT, OnExit)
END_MESSAGE_MAP()

CZqView::CZqView() : CFormView(IDD_HOME_FORM) {
    std::strcpy(standardPictureName_, "ZqBG");
    std::strcpy(markedPictureName_, "VqBG");
    char language[10] = {};
    GetProfileStringA("intl", "sLanguage", "enu", language, sizeof language);
    // Japanese, Korean and Traditional Chinese Windows get the pictures
    // without English text.
    if (!std::strcmp(language, "jpn") || !std::strcmp(language, "kor") || !std::strcmp(language, "cht")) {
        std::strcpy(standardPictureName_, "ZqBG_JAP");
        std::strcpy(markedPictureName_, "VqBG_JAP");
    }
}

bool CZqView::Marked() const {
    auto* frame = dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(GetParent(m_hWnd)));
    return frame && frame->m_config.AnyBoardHasModelMarker();
}

void CZqView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    auto* frame = dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(GetParent(m_hWnd)));
    if (frame) frame->RecalcLayout();
    ResizeParentToFit(FALSE);

    const bool marked = Marked();
    if (marked) {
        HWND check = GetDlgItem(IDC_HOME_CHECK);
        EnableWindow(check, FALSE);
        ShowWindow(check, SW_HIDE);
        // The three remaining buttons of the left column close up.
        const struct {
            UINT item;
            int y;
        } column[] = {{IDC_HOME_MESSAGE, 60}, {IDC_HOME_REMOVE_USER, 120}, {IDC_HOME_SETTINGS, 180}};
        for (const auto& each : column) MoveWindow(GetDlgItem(each.item), 25, each.y, 120, 20, TRUE);
    }

    for (UINT item : {IDC_HOME_REMOVE_USER, IDC_HOME_SETTINGS, IDC_HOME_CHECK, IDC_HOME_MESSAGE, IDC_HOME_LAUNCH,
                      IDC_HOME_STOP, IDC_HOME_HELP, IDC_HOME_EXIT}) {
        if (item == IDC_HOME_CHECK && marked) continue;
        buttons_[Member(item)].AutoLoad(item, this);
    }

    if (frame) {
        EnableStationButtons(!frame->m_config.AllDetectedStationsLaunched(), frame->m_config.AnyStationRunning());
    }

    const char* name = marked ? markedPictureName_ : standardPictureName_;
    background_.Attach(AfxLoadPicture(name));
    if (!background_) return;

    CClientDC dc(frame ? frame->m_hWnd : GetParent(m_hWnd));
    if (GetDeviceCaps(dc.Get(), RASTERCAPS) & RC_PALETTE) {
        DIBSECTION section = {};
        GetObjectA(background_.Get(), sizeof section, &section);
        // Deeper pictures have no table to take a palette from, and shifted
        // by 32 bits the count would be undefined.
        const WORD depth = section.dsBmih.biBitCount;
        UINT colours = section.dsBmih.biClrUsed ? section.dsBmih.biClrUsed : depth <= 8 ? 1u << depth : 256;
        if (colours > 256) colours = 256;
        std::vector<RGBQUAD> table(colours);
        UINT read = 0;
        {
            CMemoryDC memory(dc.Get());
            CSelectObject picture(memory.Get(), background_.Get());
            read = GetDIBColorTable(memory.Get(), 0, colours, table.data());
        }
        if (read > 0) {
            std::vector<BYTE> storage(sizeof(LOGPALETTE) + read * sizeof(PALETTEENTRY));
            auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
            logical->palVersion = 0x300;
            logical->palNumEntries = static_cast<WORD>(read);
            for (UINT i = 0; i < read; ++i) {
                logical->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
            }
            palette_.Attach(CreatePalette(logical));
        }
    }
}

void CZqView::OnDraw(HDC dc) {
    if (!background_) return;
    CSelectPalette palette(dc, palette_.Get(), true);
    BITMAP info = {};
    GetObjectA(background_.Get(), sizeof info, &info);
    RECT client;
    GetClientRect(m_hWnd, &client);
    CMemoryDC memory(dc);
    CSelectObject picture(memory.Get(), background_.Get());
    StretchBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

LRESULT CZqView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The picture covers the whole form; erasing first would only flicker.
    if (message == WM_ERASEBKGND && background_) return TRUE;
    return CFormView::WindowProc(message, wParam, lParam);
}

BOOL CZqView::DestroyWindow() {
    background_.DeleteObject();
    palette_.DeleteObject();
    return CFormView::DestroyWindow();
}

void CZqView::EnableStationButtons(BOOL launchEnabled, BOOL stopEnabled) {
    EnableWindow(GetDlgItem(IDC_HOME_LAUNCH), launchEnabled);
    EnableWindow(GetDlgItem(IDC_HOME_STOP), stopEnabled);
}

void CZqView::SendToFrame(UINT command) {
    if (HWND frame = GetParent(m_hWnd)) ::SendMessageA(frame, WM_COMMAND, command, 0);
}

void CZqView::OnRemoveUser() {
    SendToFrame(ID_REMOVE_USER);
}
void CZqView::OnStationCheck() {
    if (!Marked()) SendToFrame(ID_STATION_CHECK);
}
void CZqView::OnStationSettings() {
    SendToFrame(ID_STATION_SETTINGS);
}
void CZqView::OnSendMessage() {
    SendToFrame(ID_SEND_MESSAGE);
}
void CZqView::OnLaunch() {
    SendToFrame(ID_LAUNCH_STATION);
}
void CZqView::OnStop() {
    SendToFrame(ID_STOP_STATION);
}
void CZqView::OnHelpButton() {
    SendToFrame(ID_HELP_CMD);
}
void CZqView::OnExit() {
    SendToFrame(ID_EXIT);
}
