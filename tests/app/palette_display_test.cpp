// The home view on a palette-based display (256 colours): a palette made
// from the picture's colour table, realised whenever the view draws, and
// the frame's answers to the palette messages.
//
// The main window is opened in this process: under Wine the system palette
// of a palette display is each process's own, so only the process that
// realised a palette sees its colours there. (Wine's 8-bit display then
// maps what is drawn onto a fixed colour cube, palette or not, so the
// screen's colours themselves prove nothing.) scripts/test runs this suite
// on an 8-bit display of its own; on any other display it skips.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "control_center_app.h"
#include "registry_backup.h"
#include "resources.h"
#include "window.h"
#include "zq_view.h"

namespace {

const char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";
const int kViewId = 0xE900;

void PutByte(const std::string& path, const char* name, BYTE value) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, REG_BINARY, &value, 1);
    RegCloseKey(key);
}

void PutText(const std::string& path, const char* name, const char* text) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
}

bool PaletteDisplay() {
    HDC screen = GetDC(nullptr);
    bool palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ReleaseDC(nullptr, screen);
    return palette;
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

class HomeViewOnPaletteDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PaletteDisplay()) GTEST_SKIP() << "needs a palette-based display";
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSetupKey);
        PutByte(std::string(kSetupKey) + "\\Board1", "Detected", 1);
        PutText(std::string(kSetupKey) + "\\Board1", "Board Name", "KX4 Station Adapter");
        PutByte(std::string(kSetupKey) + "\\Station1", "Detected", 1);
        PutByte(std::string(kSetupKey) + "\\Station1", "Board Number", 0);
    }
    void TearDown() override {
        CControlCenterApp& app = App();
        if (app.m_pMainWnd && IsWindow(app.m_pMainWnd->m_hWnd)) DestroyWindow(app.m_pMainWnd->m_hWnd);
        app.CleanupInstance();
    }

    static CControlCenterApp& App() { return *static_cast<CControlCenterApp*>(AfxGetApp()); }

    // The main window as start-up opens it, drawn.
    HWND OpenMainWindow() {
        CControlCenterApp& app = App();
        app.InitializeFromModule(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
        app.m_hResourceLibrary = LoadLibraryA("ZELTO.DLL");
        if (!app.m_hResourceLibrary) return nullptr;
        AfxSetResourceHandle(app.m_hResourceLibrary);
        app.SetRegistryKey("Quillon");
        CCommandLineInfo commandLine;
        if (!app.RegisterMainWindowClass() || !app.OpenMainWindow(commandLine)) return nullptr;
        HWND main = app.m_pMainWnd->m_hWnd;
        SetForegroundWindow(main);
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages(500);
        return main;
    }

    test_support::RegistryBackup product_{HKEY_LOCAL_MACHINE, "Software\\Quillon"};
};

// How many of the colours are in the system palette now.
int InSystemPalette(const std::vector<PALETTEENTRY>& colours) {
    HDC screen = GetDC(nullptr);
    PALETTEENTRY system[256] = {};
    UINT count = GetSystemPaletteEntries(screen, 0, 256, system);
    ReleaseDC(nullptr, screen);
    int found = 0;
    for (const PALETTEENTRY& colour : colours) {
        for (UINT i = 0; i < count; ++i) {
            if (system[i].peRed == colour.peRed && system[i].peGreen == colour.peGreen &&
                system[i].peBlue == colour.peBlue) {
                ++found;
                break;
            }
        }
    }
    return found;
}

std::vector<PALETTEENTRY> PictureColours(HMODULE library) {
    std::vector<PALETTEENTRY> colours;
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(library, "ZqBG", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!picture) return colours;
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, picture);
    RGBQUAD table[256] = {};
    UINT count = GetDIBColorTable(memory, 0, 256, table);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
    for (UINT i = 0; i < count; ++i) colours.push_back({table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0});
    return colours;
}

bool Invalid(HWND window) {
    RECT update = {};
    return GetUpdateRect(window, &update, FALSE) != FALSE;
}

TEST_F(HomeViewOnPaletteDisplay, MakesItsPaletteFromThePictureAndRealisesItWhenDrawn) {
    HMODULE library = LoadLibraryA("ZELTO.DLL");
    std::vector<PALETTEENTRY> colours = PictureColours(library);
    FreeLibrary(library);
    ASSERT_EQ(colours.size(), 256u);
    // Hardly any of the picture's colours are among the system's own.
    ASSERT_LT(InSystemPalette(colours), 40);

    HWND main = OpenMainWindow();
    ASSERT_NE(main, nullptr);
    auto* view = dynamic_cast<CZqView*>(CWnd::FromHandlePermanent(GetDlgItem(main, kViewId)));
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->Palette(), nullptr);
    PALETTEENTRY made[256] = {};
    ASSERT_EQ(GetPaletteEntries(view->Palette(), 0, 256, made), 256u);
    for (size_t i = 0; i < colours.size(); ++i) {
        EXPECT_EQ(RGB(made[i].peRed, made[i].peGreen, made[i].peBlue),
                  RGB(colours[i].peRed, colours[i].peGreen, colours[i].peBlue))
            << "entry " << i;
    }
    // Realised in the foreground: the free entries of the system palette
    // take the picture's colours (most of them: how many entries are free
    // depends on what the display had handed out before).
    EXPECT_GT(InSystemPalette(colours), 128);
}

TEST_F(HomeViewOnPaletteDisplay, PaletteMessagesRepaintTheViewUnlessTheFrameItselfChangedThePalette) {
    HWND main = OpenMainWindow();
    ASSERT_NE(main, nullptr);
    HWND view = GetDlgItem(main, kViewId);
    ValidateRect(view, nullptr);

    EXPECT_EQ(SendMessageA(main, WM_QUERYNEWPALETTE, 0, 0), TRUE);
    EXPECT_TRUE(Invalid(view));
    ValidateRect(view, nullptr);

    SendMessageA(main, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(main), 0);
    EXPECT_FALSE(Invalid(view)) << "the frame's own change";
    HWND other = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SendMessageA(main, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(other), 0);
    EXPECT_TRUE(Invalid(view)) << "another window's change";
    DestroyWindow(other);
}

}  // namespace
