// The control center's application object in this test program: what its
// release of start-up's acquisitions and its message boxes do.
#include <gtest/gtest.h>

#include <string>

#include "control_center_app.h"
#include "resource_ids.h"
#include "resources.h"
#include "seams.h"

namespace {

CControlCenterApp& App() {
    return *static_cast<CControlCenterApp*>(AfxGetApp());
}

class ApplicationObject : public ::testing::Test {
protected:
    void SetUp() override { App().InitializeFromModule(GetModuleHandleA(nullptr), SW_SHOW); }
    void TearDown() override {
        App().CleanupInstance();
        AfxSetMessageBoxHandler(nullptr);
    }
};

TEST_F(ApplicationObject, CleanupReleasesEachAcquisitionOnceAndCanRunAgain) {
    CControlCenterApp& app = App();
    app.m_hResourceLibrary = LoadLibraryA("ZELTO.DLL");
    ASSERT_NE(app.m_hResourceLibrary, nullptr);
    AfxSetResourceHandle(app.m_hResourceLibrary);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &::DefWindowProcA;
    windowClass.hInstance = app.m_hInstance;
    windowClass.lpszClassName = app.m_pszWindowClass;
    ASSERT_TRUE(AfxRegisterClass(&windowClass));
    app.m_bClassRegistered = TRUE;
    app.m_hDevice = CreateFileA("\\\\.\\Corehub", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(app.m_hDevice, INVALID_HANDLE_VALUE);
    HANDLE device = app.m_hDevice;

    app.CleanupInstance();
    WNDCLASSA found;
    EXPECT_FALSE(GetClassInfoA(app.m_hInstance, app.m_pszWindowClass, &found));
    EXPECT_FALSE(app.m_bClassRegistered);
    EXPECT_EQ(app.m_hResourceLibrary, nullptr);
    EXPECT_EQ(GetModuleHandleA("ZELTO.DLL"), nullptr);
    EXPECT_EQ(app.m_hDevice, INVALID_HANDLE_VALUE);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(device, &flags)) << "the device handle is closed";

    app.CleanupInstance();  // nothing left to release: harmless
    EXPECT_EQ(app.m_hDevice, INVALID_HANDLE_VALUE);
}

TEST_F(ApplicationObject, MessagesAreCaptionedWithTheApplicationTitle) {
    HMODULE library = LoadLibraryA("ZELTO.DLL");
    AfxSetResourceHandle(library);
    std::string caption, text;
    UINT style = 0;
    AfxSetMessageBoxHandler([&](HWND, const std::string& shownText, const std::string& shownCaption, UINT shownStyle) {
        text = shownText;
        caption = shownCaption;
        style = shownStyle;
        return IDYES;
    });
    EXPECT_EQ(ShowAppMessageId(IDS_CONFIRM_STOP, MB_YESNO), IDYES);
    EXPECT_EQ(caption, "Zelto Control Center");
    EXPECT_EQ(text, AfxLoadString(IDS_CONFIRM_STOP));
    EXPECT_EQ(style, static_cast<UINT>(MB_YESNO));
    // A box owned by a window of its own has the same caption.
    HWND shownOwner = nullptr;
    AfxSetMessageBoxHandler([&](HWND owner, const std::string&, const std::string& shownCaption, UINT) {
        shownOwner = owner;
        caption = shownCaption;
        return IDOK;
    });
    const HWND desktop = GetDesktopWindow();
    ShowAppMessageId(IDS_CONFIRM_STOP, MB_OK, desktop);
    EXPECT_EQ(shownOwner, desktop);
    EXPECT_EQ(caption, "Zelto Control Center");
    AfxSetMessageBoxHandler([&](HWND, const std::string& shownText, const std::string& shownCaption, UINT) {
        text = shownText;
        caption = shownCaption;
        return IDOK;
    });

    // Without the library the caption falls back to the application name.
    AfxSetResourceHandle(nullptr);
    FreeLibrary(library);
    ShowAppMessage("plain", MB_OK);
    EXPECT_EQ(caption, App().m_strAppName);
    EXPECT_EQ(text, "plain");
}

TEST_F(ApplicationObject, NoOtherInstanceMeansGoOn) {
    EXPECT_TRUE(App().ActivatePreviousInstance());
}

}  // namespace
