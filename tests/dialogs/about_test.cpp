// The about box: the general page with the licence values and the up-time,
// the driver page with loaded and file versions, and the scrolled text.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "about_dialog.h"
#include "about_texts.h"
#include "modal_run.h"
#include "model_fixture.h"
#include "program_driver.h"
#include "resource_ids.h"
#include "resources.h"
#include "seams.h"
#include "version_info.h"

namespace {

TEST(TimeSpan, DaysThenTwoDigitHoursMinutesAndSeconds) {
    EXPECT_EQ(FormatTimeSpan("%D days, %H:%M:%S", 93'784), "1 days, 02:03:04");
    EXPECT_EQ(FormatTimeSpan("%D days, %H:%M:%S", 0xFFFFFFFFu / 1000), "49 days, 17:02:47");
    EXPECT_EQ(FormatTimeSpan("100%% %x%", 5), "100% x%");
}

TEST(VersionReader, ReadsEitherLanguageAndGrowsItsBlockOnlyWhenNeeded) {
    VersionReader reader;
    EXPECT_EQ(reader.StringValue("no such file.vxd", "FileVersion"), "");
    EXPECT_EQ(reader.StringValue("Corehub.vxd", "FileVersion"), "4.10.2222");
    EXPECT_EQ(reader.StringValue("Keyrelay.vxd", "FileVersion"), "4.10.1998") << "Windows Latin 1 only";
    EXPECT_EQ(reader.StringValue("Keyrelay.vxd", "Comments"), "");
    const char* large = "large_version.dll";
    DWORD ignored = 0;
    DWORD needed = GetFileVersionInfoSizeA(large, &ignored);
    ASSERT_GT(needed, 2048u);
    EXPECT_EQ(reader.StringValue(large, "FileDescription"), "Large version record");
    EXPECT_EQ(reader.FindString(large, "PrivateBuild"), std::optional<std::string>("")) << "an empty text is a text";
    EXPECT_EQ(reader.FindString(large, "SpecialBuild"), std::nullopt);
    EXPECT_EQ(reader.BlockSize(), needed);
    reader.StringValue("Corehub.vxd", "FileVersion");
    EXPECT_EQ(reader.BlockSize(), needed) << "never shrunk";
}

class AboutBox : public DriverModelTest {
protected:
    void Run(const std::function<void(HWND)>& work) {
        CAboutDlg about;
        // A box that never came up would leave the checks on nothing.
        EXPECT_EQ(test_support::RunAndClose(about, work), IDOK) << "the about box ran";
    }
    static std::string LicenceKey() {
        return AfxFormat(AfxLoadString(IDS_ABOUT_KEY).c_str(), AfxLoadString(IDS_PRODUCT_VERSION).c_str());
    }
    static std::string General(const std::string& licensee, const std::string& serial, const std::string& upTime) {
        return AfxFormat(AfxLoadString(IDS_ABOUT_GENERAL).c_str(), AfxLoadString(IDS_PRODUCT_VERSION).c_str(),
                         AfxLoadString(IDS_PRODUCT_COPYRIGHT).c_str(), licensee.c_str(), serial.c_str(),
                         upTime.c_str());
    }
    static std::string Line(const char* file, const std::string& loaded, const std::string& version) {
        return std::string(file) + loaded + AfxFormat(AfxLoadString(IDS_DRIVER_FILE_VERSION).c_str(), version.c_str()) +
               "\r\n";
    }
};

TEST_F(AboutBox, TheGeneralPageShowsTheLicenceAndTheTimeSinceWindowsStarted) {
    PutString(LicenceKey(), AfxLoadString(IDS_ABOUT_VALUE_A).c_str(), "Harbourside Library");
    PutString(LicenceKey(), AfxLoadString(IDS_ABOUT_VALUE_B).c_str(), "KX4-0042");
    clock_.ticks = 93'784'999;
    Run([&](HWND dialog) {
        EXPECT_EQ(test_support::ItemText(dialog, IDC_ABOUT_TEXT),
                  General("Harbourside Library", "KX4-0042", "1 days, 02:03:04"));
        EXPECT_EQ(test_support::ItemText(dialog, IDC_ABOUT_TOGGLE), AfxLoadString(IDS_ABOUT_SHOW_DRIVERS));
    });
}

TEST_F(AboutBox, WithoutTheLicenceKeyThePageSaysWhichKeyIsMissing) {
    Run([&](HWND dialog) {
        std::string missing = AfxFormat(AfxLoadString(IDS_ABOUT_KEY_MISSING).c_str(), LicenceKey().c_str());
        EXPECT_EQ(test_support::ItemText(dialog, IDC_ABOUT_TEXT), General("", missing, "0 days, 00:00:00"));
    });
}

TEST_F(AboutBox, TheDriverPageGivesLoadedAndFileVersionsAndTheButtonTurnsBack) {
    ASSERT_TRUE(driver_.SetDevicePresent(0x3AE5, false));
    Run([&](HWND dialog) {
        std::string general = test_support::ItemText(dialog, IDC_ABOUT_TEXT);
        SendDlgItemMessageA(dialog, IDC_ABOUT_TOGGLE, BM_CLICK, 0, 0);
        std::string loaded = AfxFormat(AfxLoadString(IDS_DRIVER_LOADED).c_str(), 4, 0);
        EXPECT_EQ(test_support::ItemText(dialog, IDC_ABOUT_TEXT),
                  Line("Corehub.vxd", loaded, "4.10.2222") + Line("Portlane.vxd", loaded, "4.10.2222") +
                      Line("Trellmon.vxd", AfxLoadString(IDS_DRIVER_NOT_LOADED), "4.10.2223") +
                      Line("Keyrelay.vxd", loaded, "4.10.1998"));
        EXPECT_EQ(test_support::ItemText(dialog, IDC_ABOUT_TOGGLE), AfxLoadString(IDS_ABOUT_SHOW_GENERAL));
        SendDlgItemMessageA(dialog, IDC_ABOUT_TOGGLE, BM_CLICK, 0, 0);
        EXPECT_EQ(test_support::ItemText(dialog, IDC_ABOUT_TEXT), general);
    });
}

TEST_F(AboutBox, ARightClickScrollsTheTextLineByLineAndReturnsToThePage) {
    Run([&](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_ABOUT_TOGGLE, BM_CLICK, 0, 0);
        std::string driverPage = test_support::ItemText(dialog, IDC_ABOUT_TEXT);
        std::vector<std::string> shown;
        clock_.onSleep = [&] { shown.push_back(test_support::ItemText(dialog, IDC_ABOUT_TEXT)); };
        SendMessageA(dialog, WM_RBUTTONDOWN, 0, 0);
        clock_.onSleep = nullptr;

        std::string text =
            AfxFormat(AfxLoadString(IDS_ABOUT_SCROLL).c_str(), AfxLoadString(IDS_PRODUCT_VERSION).c_str());
        std::vector<std::string> expected;
        for (size_t position = 0;;) {
            text = text.substr(position + 2);
            expected.push_back(text);
            position = text.find("\r\n");
            if (position == std::string::npos) break;
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(clock_.slept, 400u * expected.size());
        EXPECT_EQ(test_support::ItemText(dialog, IDC_ABOUT_TEXT), driverPage) << "back on the page it interrupted";
    });
}

}  // namespace
