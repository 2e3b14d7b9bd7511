// The program formats some texts of the library with fixed arguments; a
// text with one placeholder too many or of the wrong kind would read
// garbage from the stack. These tests hold every text to its arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "resource_ids.h"
#include "resource_library.h"

namespace resources_test {
namespace {

// The conversions of a printf format, one letter each ("%s\\Board%d" gives
// "sd"); "%%" is no conversion. Width, precision and flags are skipped.
std::string Conversions(const std::string& format) {
    std::string kinds;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ++i;
        if (i < format.size() && format[i] == '%') continue;
        while (i < format.size() && std::strchr("-+ #0123456789.", format[i])) ++i;
        if (i < format.size()) kinds += format[i];
    }
    return kinds;
}

struct FormatContract {
    UINT id;
    const char* conversions;  // what the program passes, in order
};

// Texts that the program formats, with the kinds of its arguments.
const FormatContract kFormats[] = {
    {IDS_ABOUT_GENERAL, "sssss"},
    {IDS_ABOUT_SCROLL, "s"},
    {IDS_ABOUT_KEY, "s"},
    {IDS_ABOUT_KEY_MISSING, "s"},
    {IDS_DRIVER_LOADED, "dd"},
    {IDS_DRIVER_FILE_VERSION, "s"},
    {IDS_CANNOT_OPEN_ADDRESS, "s"},
    {IDS_MESSAGE_FORMAT, "ss"},
    {IDS_PROFILE_NOT_REMOVED, "s"},
    {IDS_PASSWORD_FILE_NOT_DELETED, "s"},
    {IDS_PASSWORD_ENTRY_NOT_DELETED, "ss"},
    {IDS_PROFILE_KEY_NOT_DELETED, "s"},
    {IDS_DEFAULT_USER, "d"},
    {IDS_DEFAULT_STATION_NAME, "d"},
    {IDS_BOARD_KEY, "sd"},
    {IDS_STATION_KEY, "sd"},
    {IDS_DEFAULT_STATION_BUTTON, "d"},
    {IDS_BOARD_TAB, "d"},
    {IDS_CONFIRM_REMOVE_USER, "ssss"},
    {IDS_USER_IS_CURRENT, "ssss"},
    {IDS_USER_LOGGED_ON, "sssss"},
    {IDS_BASE_INIT_FAILED, "s"},
    {IDS_KEYBOARD_INIT_FAILED, "s"},
    {IDS_MOUSE_INIT_FAILED, "s"},
    {IDS_NOT_LAUNCHED, "s"},
    {IDS_CHECK_TITLE_WELL, "s"},
    {IDS_CHECK_TITLE_PROBLEMS, "s"},
    {IDS_CHECK_SENDING, "s"},
    {IDS_SERIAL_DEVICE, "d"},
    {IDS_PRINTER_DEVICE, "d"},
    {IDS_PORT_HARDWARE_KEY, "dd"},
    {IDS_PORT_DRIVER_KEY, "dd"},
};

// Texts shown or used as they stand: they must exist and hold no
// placeholder that nobody fills.
const UINT kPlainTexts[] = {
    IDS_MAIN_TITLE,
    IDS_APP_TITLE,
    IDS_ABOUT_SHOW_GENERAL,
    IDS_ABOUT_SHOW_DRIVERS,
    IDS_PRODUCT_VERSION,
    IDS_PRODUCT_COPYRIGHT,
    IDS_DRIVER_DATE,
    IDS_ABOUT_VALUE_A,
    IDS_ABOUT_VALUE_B,
    IDS_DRIVER_NOT_LOADED,
    IDS_DRIVER_FILE_UNKNOWN,
    IDS_SUPPORT_TEXT,
    IDS_SUPPORT_WEB_ADDRESS,
    IDS_SUPPORT_MAIL_ADDRESS,
    IDS_PRODUCT_WEB_ADDRESS,
    IDS_DEFAULT_MESSAGE,
    IDS_SEND_FAILED,
    IDS_DEFAULT_SENDER,
    IDS_STATION_NOT_RUNNING,
    IDS_NO_STATION_RUNNING,
    IDS_ANNOUNCE_POWER_OFF,
    IDS_ANNOUNCE_RESTART,
    IDS_PICK_LAUNCH_TITLE,
    IDS_PICK_STOP_TITLE,
    IDS_PICK_ANY_TITLE,
    IDS_LAUNCH_FAILED,
    IDS_NO_DRIVER,
    IDS_DRIVER_DEVICE,
    IDS_STATION_DEVICE,
    IDS_DEFAULT_BOARD_NAME,
    IDS_NOBODY,
    IDS_LAUNCH_REFUSED,
    IDS_CONFIRM_STOP,
    IDS_STOP_FAILED,
    IDS_STOP_PENDING,
    IDS_NO_USER_PROFILES,
    IDS_MISSING_COREHUB,
    IDS_MISSING_PORTLANE,
    IDS_MISSING_TRELLMON,
    IDS_MISSING_KEYRELAY,
    IDS_CHECK_ALL_WELL,
    IDS_MISSING_STATION_DEVICE,
    IDS_PROGRESS_ANNOUNCING,
    IDS_PROGRESS_PREPARING,
    IDS_PROGRESS_SHUTTING_DOWN,
    IDS_CANCEL_POWER_OFF,
    IDS_CANCEL_RESTART,
    IDS_CONFIRM_OK,
    IDS_CONFIRM_GO,
    IDS_LOG_STATUS,
    IDS_LOG_TIME,
    IDS_LOG_STATION,
    IDS_LOG_USER,
    IDS_LOG_CAPTION,
    IDS_LOG_SEEN,
    IDS_LOG_NEW,
    IDS_LOG_EMPTY,
    IDS_LOG_CONFIRM_DELETE,
    IDS_ZELTO_BOARD_NAME,
    IDS_ADDRESS_AUTOMATIC,
    IDS_BOARD_SHEET,
    IDS_STATION_SHEET,
    IDS_NOTHING_TO_LAUNCH,
    IDS_PORT_NAMES_CHANGED,
    IDS_PORTS_SWITCHED,
    IDS_NOTHING_TO_STOP,
    IDS_STATION_NAME_TAKEN,
    IDS_HIDDEN_PROGRAMS,
};

std::string Must(UINT id) {
    auto text = Text(id);
    EXPECT_TRUE(text.has_value()) << "string " << id << " is missing";
    return text.value_or("");
}

int Find(const std::string& text, const char* what) {
    auto at = text.find(what);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

TEST(StringContract, FormatsHoldExactlyTheArgumentsTheyAreGiven) {
    for (const auto& contract : kFormats) {
        EXPECT_EQ(Conversions(Must(contract.id)), contract.conversions) << "string " << contract.id;
    }
}

TEST(StringContract, PlainTextsExistAndHoldNoPlaceholder) {
    for (UINT id : kPlainTexts) {
        std::string text = Must(id);
        EXPECT_FALSE(text.empty()) << "string " << id;
        EXPECT_EQ(Conversions(text), "") << "string " << id << ": " << text;
    }
}

TEST(StringContract, RegistryKeysFormatToTheProductsPaths) {
    const char* setup = "Software\\Quillon\\Orvanta\\Setup";
    EXPECT_EQ(Format(Must(IDS_STATION_KEY).c_str(), setup, 3), "Software\\Quillon\\Orvanta\\Setup\\Station3");
    EXPECT_EQ(Format(Must(IDS_BOARD_KEY).c_str(), setup, 4), "Software\\Quillon\\Orvanta\\Setup\\Board4");
    EXPECT_EQ(Format(Must(IDS_PORT_HARDWARE_KEY).c_str(), 2, 3), "Enum\\Root\\Ternway\\App2Port3");
    EXPECT_EQ(Format(Must(IDS_PORT_DRIVER_KEY).c_str(), 8, 1),
              "System\\CurrentControlSet\\Services\\Class\\Ports\\App8Port1");
    // The about box shows the key of the running version.
    std::string version = Must(IDS_PRODUCT_VERSION);
    EXPECT_EQ(Format(Must(IDS_ABOUT_KEY).c_str(), version.c_str()), "Software\\Quillon\\Orvanta\\" + version);
}

TEST(StringContract, DevicePathsNameWin32Devices) {
    EXPECT_EQ(Must(IDS_DRIVER_DEVICE), "\\\\.\\Corehub");
    std::string station = Must(IDS_STATION_DEVICE);
    EXPECT_EQ(station.rfind("\\\\.\\", 0), 0u) << station;
    EXPECT_NE(station, Must(IDS_DRIVER_DEVICE));
}

TEST(StringContract, DefaultPortAndStationNames) {
    EXPECT_EQ(Format(Must(IDS_SERIAL_DEVICE).c_str(), 5), "COM5");
    EXPECT_EQ(Format(Must(IDS_PRINTER_DEVICE).c_str(), 4), "LPT4");
    EXPECT_EQ(Format(Must(IDS_DEFAULT_STATION_NAME).c_str(), 2), "Station2");
    EXPECT_EQ(Format(Must(IDS_DEFAULT_USER).c_str(), 2), "User2");
}

TEST(StringContract, SerialFriendlyNameTemplateTakesOneOfTheAcceptedOrders) {
    // Station number, port number and device name must come in one of the
    // two orders the program recognises; any other order falls back to a
    // fixed English text and would make the template pointless.
    std::string pattern = Must(IDS_SERIAL_FRIENDLY);
    int d = Find(pattern, "%d"), p = Find(pattern, "%i"), s = Find(pattern, "%s");
    bool stationPortName = d < p && p < s;
    bool portNameStation = d >= p && p < s && s < d;
    ASSERT_TRUE(stationPortName || portNameStation) << pattern;
    std::string text =
        stationPortName ? Format(pattern.c_str(), 3, 2, "COM10") : Format(pattern.c_str(), 2, "COM10", 3);
    EXPECT_NE(text.find("3"), std::string::npos) << text;
    EXPECT_NE(text.find("2"), std::string::npos) << text;
    EXPECT_NE(text.find("COM10"), std::string::npos) << text;
}

TEST(StringContract, PrinterFriendlyNameTemplateTakesStationAndDevice) {
    std::string pattern = Must(IDS_PRINTER_FRIENDLY);
    EXPECT_EQ(std::count(pattern.begin(), pattern.end(), '%'), 2) << pattern;
    int d = Find(pattern, "%d"), s = Find(pattern, "%s");
    ASSERT_GE(d, 0);
    ASSERT_GE(s, 0);
    std::string text = d < s ? Format(pattern.c_str(), 7, "LPT2") : Format(pattern.c_str(), "LPT2", 7);
    EXPECT_NE(text.find("7"), std::string::npos) << text;
    EXPECT_NE(text.find("LPT2"), std::string::npos) << text;
}

TEST(StringContract, UptimeFormatUsesOnlyTheTimeSpanFields) {
    std::string format = Must(IDS_UPTIME_FORMAT);
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ASSERT_LT(i + 1, format.size()) << format;
        EXPECT_NE(std::string("DHMS%").find(format[++i]), std::string::npos) << format;
    }
    EXPECT_NE(format.find("%S"), std::string::npos) << format;
}

TEST(StringContract, AboutScrollTextStartsWithTheLineBreakItDrops) {
    EXPECT_EQ(Must(IDS_ABOUT_SCROLL).rfind("\r\n", 0), 0u);
}

TEST(StringContract, AddressesAreOpenableByTheShell) {
    EXPECT_EQ(Must(IDS_SUPPORT_WEB_ADDRESS).rfind("http://", 0), 0u);
    EXPECT_EQ(Must(IDS_PRODUCT_WEB_ADDRESS).rfind("http://", 0), 0u);
    EXPECT_EQ(Must(IDS_SUPPORT_MAIL_ADDRESS).rfind("mailto:", 0), 0u);
}

TEST(StringContract, HiddenProgramNamesAreLowerCase) {
    // The list is searched case-sensitively for lower-cased file names.
    std::string names = Must(IDS_HIDDEN_PROGRAMS);
    std::string lower = names;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ(names, lower);
    EXPECT_NE(names.find("explorer.exe"), std::string::npos);
}

TEST(StringContract, ZeltoEditionBoardNameCarriesAModelMarker) {
    // The name replaces the stored one when the board page is saved; without
    // a marker the board would lose its page.
    std::string name = Must(IDS_ZELTO_BOARD_NAME);
    bool marked = false;
    for (const char* marker : {"PA-", "PB-", "PBX-", "PC-"}) marked = marked || name.find(marker) != std::string::npos;
    EXPECT_TRUE(marked) << name;
}

}  // namespace
}  // namespace resources_test
