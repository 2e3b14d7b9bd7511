// The main window and its home view worked from outside, as the
// administrator works them: the saved position, the radio pairs of the
// Options menu, launching and stopping a station, the marked system's
// layout and the picture that the language chooses. The registry, the
// profile, the screen and the stand-in driver's request log tell what the
// program did.
//
// Another process's menus and window contents are out of reach under Wine
// (GetSubMenu and GetMenuItemInfo refuse a foreign menu, a foreign window's
// device context reads black), so the tests open a menu as Alt and its
// letter do and read it off the screen, and read the view there too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "corehub_client.h"
#include "program_driver.h"
#include "registry_backup.h"
#include "resource_ids.h"

namespace {

using test_support::Program;

const char kMainClass[] = "OrvantaZqControlCenter";
const char kMenuClass[] = "#32768";
const char kProductKey[] = "Software\\Quillon\\Orvanta";
const char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";
const char kWindowKey[] = "Software\\Quillon\\zelto\\Window";
const int kViewId = 0xE900;
// The driver's requests to launch and to stop a station.
const uint32_t kLaunchStation = 0x220802;
const uint32_t kStopStation = 0x22080C;
// The users whose launches leave a key under HKEY_USERS.
const char* const kUsers[] = {"mwclerk", "mwreader"};

std::string StationKey(int number) {
    return std::string(kSetupKey) + "\\Station" + std::to_string(number);
}
std::string BoardKey(int number) {
    return std::string(kSetupKey) + "\\Board" + std::to_string(number);
}

// ---- Registry ------------------------------------------------------------

// A value as stored: its type and its bytes; type 0 when it is missing.
struct Value {
    DWORD type = 0;
    std::string bytes;
    bool operator==(const Value&) const = default;
};

void PrintTo(const Value& value, std::ostream* out) {
    *out << "type " << value.type << ":";
    for (unsigned char byte : value.bytes) {
        char hex[4];
        snprintf(hex, sizeof hex, " %02X", byte);
        *out << hex;
    }
}

Value Binary(BYTE byte) {
    return {REG_BINARY, std::string(1, static_cast<char>(byte))};
}
Value Text(const std::string& text) {
    return {REG_SZ, text + '\0'};
}
Value Dword(DWORD number) {
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number)};
}

Value Stored(HKEY root, const std::string& path, const char* name) {
    Value value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    char data[1024];
    DWORD type = 0, size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS)
        value = {type, std::string(data, size)};
    RegCloseKey(key);
    return value;
}

void Put(HKEY root, const std::string& path, const char* name, const Value& value) {
    HKEY key = nullptr;
    if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                   static_cast<DWORD>(value.bytes.size()));
    RegCloseKey(key);
}

// A window's top left corner.
struct Place {
    LONG x = 0, y = 0;
    bool operator==(const Place&) const = default;
};

void PrintTo(const Place& place, std::ostream* out) {
    *out << "(" << place.x << ", " << place.y << ")";
}

// A text of the resource library as the program shows it.
std::string LibraryText(UINT id) {
    HMODULE library = LoadLibraryA("ZELTO.DLL");
    char text[1024] = {};
    LoadStringA(library, id, text, sizeof text);
    FreeLibrary(library);
    return text;
}

std::string Zelto() {
    return test_support::ProgramFolder() + "\\zelto.exe";
}

// Waits until done() holds; false when it did not in time.
bool WaitFor(const std::function<bool()>& done, DWORD milliseconds = 5000, DWORD interval = 20) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(interval);
    }
    return true;
}

// ---- The screen ----------------------------------------------------------

// The pixels of a part of the screen as the display shows them now.
class Screenshot {
public:
    Screenshot(POINT origin, int width, int height) : width_(width), height_(height) {
        if (width <= 0 || height <= 0) return;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        void* bits = nullptr;
        HBITMAP picture = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (picture) {
            HGDIOBJ old = SelectObject(memory, picture);
            BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
            GdiFlush();
            const auto* words = static_cast<const uint32_t*>(bits);
            pixels_.assign(words, words + width * height);
            SelectObject(memory, old);
            DeleteObject(picture);
        }
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const {
        // 0x00RRGGBB in a 32-bit section, the other way round from COLORREF.
        uint32_t pixel = pixels_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    bool operator==(const Screenshot&) const = default;

private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

int Distance(COLORREF a, COLORREF b) {
    return abs(GetRValue(a) - GetRValue(b)) + abs(GetGValue(a) - GetGValue(b)) + abs(GetBValue(a) - GetBValue(b));
}

bool Near(COLORREF a, COLORREF b) {
    return Distance(a, b) <= 48;
}

// A window's client area as the screen shows it.
Screenshot ClientOnScreen(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return Screenshot(origin, client.right, client.bottom);
}

// Whether the screen shows a drawn background picture there rather than a
// window not drawn yet: many colours rather than one or two.
bool ShowsPicture(const Screenshot& picture) {
    std::set<COLORREF> colours;
    for (int y = 0; y < picture.Height(); y += 3) {
        for (int x = 0; x < picture.Width(); x += 3) colours.insert(picture.At(x, y));
    }
    return colours.size() >= 40;
}

// One item of an open popup menu as it is drawn: its text tells whether it
// is enabled, a mark left of the text whether it is checked.
enum class Mark { kNone, kBullet, kCheck };

void PrintTo(Mark mark, std::ostream* out) {
    *out << (mark == Mark::kNone ? "no mark" : mark == Mark::kBullet ? "a radio bullet" : "a check mark");
}

struct DrawnItem {
    bool enabled = false;
    Mark mark = Mark::kNone;
};

// Reads the items off a picture of a popup menu. An item is a band of rows
// holding ink, that is pixels apart from the row's own background (the
// menu's colour, or the highlight's on the selected item); the underline of
// a mnemonic may stand a row apart from its text, items stand further
// apart, and a separator's line runs across the whole menu. Marks stand
// left of where every item's text begins: a radio bullet is a dot of three
// pixels across, a check mark twice that.
std::vector<DrawnItem> ReadMenuPicture(const Screenshot& picture) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    // The outer columns hold the popup's frame.
    const int first = 4, last = picture.Width() - 5;
    auto isInk = [&](int x, int y) { return !Near(picture.At(x, y), picture.At(last, y)); };

    struct Band {
        int left = 0;
        bool plainText = false;  // ink in the colour of enabled text
        int firstRow = 0, lastRow = 0;
    };
    std::vector<Band> bands;
    bool afterSeparator = false;
    for (int y = 2; y < picture.Height() - 2; ++y) {
        const bool highlighted = Near(picture.At(last, y), highlight);
        const COLORREF enabledText = GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
        int left = -1, inked = 0;
        bool plainText = false;
        for (int x = first; x < last; ++x) {
            if (!isInk(x, y)) continue;
            if (left < 0) left = x;
            if (Near(picture.At(x, y), enabledText)) plainText = true;
            ++inked;
        }
        if (left < 0) continue;
        if (inked > (last - first) * 3 / 4) {
            afterSeparator = true;
            continue;
        }
        if (bands.empty() || afterSeparator || y - bands.back().lastRow > 3) bands.push_back({left, false, y, y});
        Band& band = bands.back();
        band.left = std::min(band.left, left);
        band.plainText = band.plainText || plainText;
        band.lastRow = y;
        afterSeparator = false;
    }

    int textLeft = 0;
    for (const Band& band : bands) textLeft = std::max(textLeft, band.left);
    std::vector<DrawnItem> items;
    for (const Band& band : bands) {
        RECT mark = {last, picture.Height(), -1, -1};
        for (int y = band.firstRow; y <= band.lastRow; ++y) {
            for (int x = first; x < textLeft - 4; ++x) {
                if (!isInk(x, y)) continue;
                mark = {std::min(mark.left, LONG(x)), std::min(mark.top, LONG(y)), std::max(mark.right, LONG(x)),
                        std::max(mark.bottom, LONG(y))};
            }
        }
        Mark kind = Mark::kNone;
        if (mark.right >= 0) {
            const int size = std::max(mark.right - mark.left, mark.bottom - mark.top) + 1;
            kind = size <= 4 ? Mark::kBullet : Mark::kCheck;
        }
        items.push_back({band.plainText, kind});
    }
    return items;
}

// Whether a picture shows a menu rather than what lay there before: mostly
// the menu's own colour.
bool ShowsMenu(const Screenshot& picture) {
    const COLORREF menu = GetSysColor(COLOR_MENU);
    int plain = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) plain += Near(picture.At(x, y), menu) ? 1 : 0;
    }
    return plain * 2 > picture.Width() * picture.Height();
}

// The visible popup menu of a process, if one is open.
HWND OpenPopupMenu(DWORD processId) {
    struct Search {
        DWORD process;
        HWND found;
    } search = {processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->process && IsWindowVisible(window) && test_support::ClassName(window) == kMenuClass) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The picture of an open popup menu once it is drawn: two equal pictures
// of a menu in a row are the finished one. Empty when the menu does not
// reach the screen in time.
std::unique_ptr<Screenshot> DrawnMenu(HWND popup, DWORD milliseconds) {
    RECT frame = {};
    GetWindowRect(popup, &frame);
    POINT origin = {frame.left, frame.top};
    std::unique_ptr<Screenshot> previous;
    bool drawn = WaitFor(
        [&] {
            auto picture = std::make_unique<Screenshot>(origin, frame.right - frame.left, frame.bottom - frame.top);
            bool settled = previous && *previous == *picture && ShowsMenu(*picture);
            previous = std::move(picture);
            return settled;
        },
        milliseconds);
    return drawn ? std::move(previous) : nullptr;
}

// Opens a menu of the window's menu bar as Alt and its mnemonic do, which
// runs the window's update handlers on it, reads the items off the screen
// and closes the menu again. Under Wine a menu opened while the window is
// still being placed on the display can stay hidden behind the window; it
// is then closed and opened once more.
std::vector<DrawnItem> OpenAndReadMenu(HWND main, char mnemonic) {
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    std::unique_ptr<Screenshot> picture;
    for (int attempt = 0; attempt < 3 && !picture; ++attempt) {
        PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, mnemonic);
        HWND popup = nullptr;
        if (WaitFor([&] { return (popup = OpenPopupMenu(processId)) != nullptr; })) picture = DrawnMenu(popup, 1500);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, WM_CANCELMODE, 0, 0, SMTO_NORMAL, 5000, &result);
        WaitFor([&] { return OpenPopupMenu(processId) == nullptr; });
    }
    return picture ? ReadMenuPicture(*picture) : std::vector<DrawnItem>();
}

// The menus of the menu bar by their mnemonics.
const char kStationMenu = 's';
const char kOptionsMenu = 'o';

// The Options menu: automatic launch on and off, default shutdown on and
// off, shut down the system.
enum OptionsItem { kAutoLaunchOn, kAutoLaunchOff, kShutdownOn, kShutdownOff, kShutDownSystem, kOptionsItems };

// ---- The fixture ---------------------------------------------------------

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(driver_.IsOpen()) << "the stand-in driver is not running";
        driver_.Reset();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Enum\\Root\\Ternway");
        RegDeleteTreeA(HKEY_CURRENT_USER, kWindowKey);
        SetGlobals(0, 0);
        Put(HKEY_LOCAL_MACHINE, kSetupKey, "NoEwxForce", Binary(0));
        SetBoard("KX4 Station Adapter");
    }

    void TearDown() override {
        if (program_) {
            EXPECT_TRUE(Close()) << "the control center did not end";
            program_.reset();
        }
        driver_.Reset();
        for (const char* user : kUsers) RegDeleteTreeA(HKEY_USERS, user);
    }

    static void SetGlobals(BYTE autoLaunchEnabled, BYTE shutdownDefault) {
        Put(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled", Binary(autoLaunchEnabled));
        Put(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Default", Binary(shutdownDefault));
        Put(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled", Binary(shutdownDefault));
    }

    static void SetBoard(const char* name) {
        Put(HKEY_LOCAL_MACHINE, BoardKey(1), "Detected", Binary(1));
        Put(HKEY_LOCAL_MACHINE, BoardKey(1), "Board Name", Text(name));
    }

    // A detected station on the first board; a launched one is recorded as
    // launched for its default user, as the launch leaves it.
    static void SetStation(int number, const char* name, const char* user, bool launched = false,
                           bool autoLaunch = false) {
        test_support::PrepareStation(number, true, autoLaunch, name, user);
        Put(HKEY_LOCAL_MACHINE, StationKey(number), "Board Number", Binary(0));
        Put(HKEY_LOCAL_MACHINE, StationKey(number), "Launched", Binary(launched ? 1 : 0));
        if (launched) Put(HKEY_LOCAL_MACHINE, StationKey(number), "Logged In User", Text(user));
    }

    // Starts the control center and waits until its home view stands drawn
    // on the screen: the same picture twice, a tenth of a second apart, as
    // the window is laid out and painted more than once on its way.
    HWND Start() {
        program_ = std::make_unique<Program>(Zelto(), "");
        main_ = program_->WaitForWindowOfClass(kMainClass);
        std::unique_ptr<Screenshot> previous;
        auto drawn = [&] {
            auto now = std::make_unique<Screenshot>(ClientOnScreen(View()));
            bool settled = previous && *previous == *now && ShowsPicture(*now);
            previous = std::move(now);
            return settled;
        };
        if (main_ && !WaitFor(drawn, 10000, 100)) ADD_FAILURE() << "the home view was not drawn";
        return main_;
    }

    bool Close() {
        PostMessageA(main_, WM_CLOSE, 0, 0);
        return program_->WaitForExit(10000);
    }

    HWND View() const { return GetDlgItem(main_, kViewId); }
    HWND ViewItem(int item) const { return GetDlgItem(View(), item); }

    // Sends a command as the menu does and waits until it is carried out;
    // false when the window did not finish it (a message box stands open).
    bool Command(UINT id) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(main_, WM_COMMAND, id, 0, SMTO_NORMAL, 10000, &result) != 0;
    }

    // Presses a message box's button and waits until the command that
    // showed it has gone on.
    bool Answer(HWND box, int button) {
        test_support::PressButton(box, button);
        if (!WaitFor([box] { return !IsWindow(box); })) return false;
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
    }

    std::vector<test_support::LoggedRequest> RequestsOf(uint32_t code) {
        std::vector<test_support::LoggedRequest> found;
        for (auto& request : driver_.Requests()) {
            if (request.code == code) found.push_back(std::move(request));
        }
        return found;
    }

    test_support::CorehubClient driver_;
    test_support::RegistryBackup product_{HKEY_LOCAL_MACHINE, kProductKey};
    test_support::RegistryBackup devices_{HKEY_LOCAL_MACHINE, "Enum\\Root\\Ternway"};
    test_support::RegistryBackup ports_{HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Ports"};
    test_support::RegistryBackup profile_{HKEY_CURRENT_USER, "Software\\Quillon"};
    std::unique_ptr<Program> program_;
    HWND main_ = nullptr;
};

// ---- Saved position ------------------------------------------------------

// zelto.exe started with a place for its first window, as a shortcut's
// start-up information gives one: the place where the system puts the
// window, which a saved position must change and an unsaved one keep.
class PlacedStart {
public:
    PlacedStart(const std::string& path, Place place) {
        std::string commandLine = "\"" + path + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USEPOSITION;
        startup.dwX = place.x;
        startup.dwY = place.y;
        if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process_))
            process_ = {};
        if (process_.hProcess) WaitForInputIdle(process_.hProcess, 5000);
    }
    ~PlacedStart() {
        if (!process_.hProcess) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    PlacedStart(const PlacedStart&) = delete;
    PlacedStart& operator=(const PlacedStart&) = delete;

    HWND WaitForMainWindow() {
        HWND found = nullptr;
        WaitFor(
            [&] {
                found = FindWindowA(kMainClass, nullptr);
                DWORD owner = 0;
                if (found) GetWindowThreadProcessId(found, &owner);
                return found && owner == process_.dwProcessId && IsWindowVisible(found);
            },
            10000);
        return found;
    }
    bool WaitForExit(DWORD milliseconds) {
        return !process_.hProcess || WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
    }

private:
    PROCESS_INFORMATION process_ = {};
};

class SavedPosition : public MainWindowTest {
protected:
    void TearDown() override {
        if (placed_) {
            PostMessageA(main_, WM_CLOSE, 0, 0);
            EXPECT_TRUE(placed_->WaitForExit(10000)) << "the control center did not end";
            placed_.reset();
        }
        MainWindowTest::TearDown();
    }

    static void SaveProfilePosition(int left, int top) {
        Put(HKEY_CURRENT_USER, kWindowKey, "Left", Dword(static_cast<DWORD>(left)));
        Put(HKEY_CURRENT_USER, kWindowKey, "Top", Dword(static_cast<DWORD>(top)));
    }

    // Starts the program where the system would put its window by itself,
    // and tells where the window stands once shown.
    Place StartPlaced() {
        placed_ = std::make_unique<PlacedStart>(Zelto(), kSystemPlace);
        main_ = placed_->WaitForMainWindow();
        RECT frame = {};
        GetWindowRect(main_, &frame);
        return {frame.left, frame.top};
    }

    static constexpr Place kSystemPlace = {140, 90};
    std::unique_ptr<PlacedStart> placed_;
};

TEST_F(SavedPosition, ZeroLeftAndTopLeaveTheWindowWhereTheSystemPutIt) {
    SaveProfilePosition(0, 0);
    Place shown = StartPlaced();
    ASSERT_NE(main_, nullptr);
    EXPECT_EQ(shown, kSystemPlace);
}

TEST_F(SavedPosition, ClosingWritesTheNormalPositionBack) {
    StartPlaced();
    ASSERT_NE(main_, nullptr);
    SetWindowPos(main_, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Minimised, the window stands elsewhere; its normal position counts.
    ShowWindow(main_, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([this] { return IsIconic(main_) != FALSE; }));
    PostMessageA(main_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(placed_->WaitForExit(10000));
    placed_.reset();
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, kWindowKey, "Left"), Dword(123));
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, kWindowKey, "Top"), Dword(77));
}

struct Placement {
    int left, top;  // as saved
    bool clamped;   // whether the expected place is the screen's size minus 50
    Place expected;
};

void PrintTo(const Placement& placement, std::ostream* out) {
    *out << "saved (" << placement.left << ", " << placement.top << ")";
}

class SavedPlacement : public SavedPosition, public ::testing::WithParamInterface<Placement> {};

TEST_P(SavedPlacement, MovesTheShownWindowOntoTheScreen) {
    const Placement& placement = GetParam();
    SaveProfilePosition(placement.left, placement.top);
    Place shown = StartPlaced();
    ASSERT_NE(main_, nullptr);
    Place expected = placement.expected;
    if (placement.clamped) expected = {GetSystemMetrics(SM_CXSCREEN) - 50, GetSystemMetrics(SM_CYSCREEN) - 50};
    EXPECT_EQ(shown, expected);
}

INSTANTIATE_TEST_SUITE_P(Saved, SavedPlacement,
                         ::testing::Values(Placement{-10, 5, false, {0, 5}},
                                           // One of the two at 0 is a place too.
                                           Placement{0, 300, false, {0, 300}}, Placement{5000, 5000, true, {}}));

// ---- Options -------------------------------------------------------------

using Options = MainWindowTest;

// Exactly one item of each radio pair carries the bullet.
void ExpectMarks(const std::vector<DrawnItem>& items, bool autoLaunchOn, bool shutdownOn) {
    ASSERT_EQ(items.size(), static_cast<size_t>(kOptionsItems));
    auto bullet = [](bool on) { return on ? Mark::kBullet : Mark::kNone; };
    EXPECT_EQ(items[kAutoLaunchOn].mark, bullet(autoLaunchOn)) << "automatic launch on";
    EXPECT_EQ(items[kAutoLaunchOff].mark, bullet(!autoLaunchOn)) << "automatic launch off";
    EXPECT_EQ(items[kShutdownOn].mark, bullet(shutdownOn)) << "shut down by default";
    EXPECT_EQ(items[kShutdownOff].mark, bullet(!shutdownOn)) << "do not shut down by default";
    EXPECT_EQ(items[kShutDownSystem].mark, Mark::kNone) << "shut down the system";
}

TEST_F(Options, AutomaticLaunchOnAOneStationSystemSetsTheSystemAndTheStation) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);
    {
        SCOPED_TRACE("at start");
        ExpectMarks(OpenAndReadMenu(main_, kOptionsMenu), false, false);
    }

    ASSERT_TRUE(Command(ID_AUTOLAUNCH_ON));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "AutoLaunch"), Binary(1));
    {
        SCOPED_TRACE("on");
        ExpectMarks(OpenAndReadMenu(main_, kOptionsMenu), true, false);
    }

    ASSERT_TRUE(Command(ID_AUTOLAUNCH_OFF));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "AutoLaunch"), Binary(0));
    {
        SCOPED_TRACE("off");
        ExpectMarks(OpenAndReadMenu(main_, kOptionsMenu), false, false);
    }
    EXPECT_TRUE(driver_.Requests().empty());
}

TEST_F(Options, AutomaticLaunchOnSeveralStationsChangesOnlyTheSystemFlag) {
    SetStation(1, "Front Desk", "mwclerk", false, false);
    SetStation(2, "Reading Room", "mwreader", false, true);
    ASSERT_NE(Start(), nullptr);

    ASSERT_TRUE(Command(ID_AUTOLAUNCH_ON));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "AutoLaunch"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(2), "AutoLaunch"), Binary(1));

    ASSERT_TRUE(Command(ID_AUTOLAUNCH_OFF));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "AutoLaunch"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(2), "AutoLaunch"), Binary(1));
}

TEST_F(Options, DefaultShutdownOnAndOffSetBothShutdownValues) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);

    ASSERT_TRUE(Command(ID_SHUTDOWN_DEFAULT_ON));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Default"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled"), Binary(0));
    {
        SCOPED_TRACE("on");
        ExpectMarks(OpenAndReadMenu(main_, kOptionsMenu), false, true);
    }

    ASSERT_TRUE(Command(ID_SHUTDOWN_DEFAULT_OFF));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Default"), Binary(0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled"), Binary(0));
    {
        SCOPED_TRACE("off");
        ExpectMarks(OpenAndReadMenu(main_, kOptionsMenu), false, false);
    }
}

TEST_F(Options, TheMarksFollowTheRegistryWhenTheMenuOpens) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);
    // Changed by another program while the window is open.
    SetGlobals(1, 1);
    ExpectMarks(OpenAndReadMenu(main_, kOptionsMenu), true, true);
}

// ---- Launch and stop -----------------------------------------------------

using StationCommands = MainWindowTest;

TEST_F(StationCommands, LaunchOnAOneStationSystemUsesTheDefaultUserWithoutAPicker) {
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_LAUNCH)));
    EXPECT_FALSE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));

    // No picker: the command ends without a dialog in between.
    ASSERT_TRUE(Command(ID_LAUNCH_STATION));
    EXPECT_EQ(program_->Windows().size(), 1u);

    auto requests = driver_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, kLaunchStation);
    ASSERT_EQ(requests[0].input.size(), 68u);
    EXPECT_STREQ(reinterpret_cast<const char*>(requests[0].input.data()), "Front Desk");
    EXPECT_STREQ(reinterpret_cast<const char*>(requests[0].input.data() + 32), "mwclerk");
    int32_t index = -1;
    std::memcpy(&index, requests[0].input.data() + 64, sizeof index);
    EXPECT_EQ(index, 0);

    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Logged In User"), Text("mwclerk"));
    EXPECT_FALSE(IsWindowEnabled(ViewItem(IDC_HOME_LAUNCH)));
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));
}

TEST_F(StationCommands, WithEveryStationLaunchedTheLaunchCommandIsOffAndDoesNothing) {
    SetStation(1, "Front Desk", "mwclerk", true);
    SetStation(2, "Reading Room", "mwreader", true);
    ASSERT_NE(Start(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(ViewItem(IDC_HOME_LAUNCH)));
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));

    auto items = OpenAndReadMenu(main_, kStationMenu);
    // Launch, stop, check, settings, message, running programs, log, exit.
    ASSERT_EQ(items.size(), 8u);
    EXPECT_FALSE(items[0].enabled) << "launch";
    EXPECT_TRUE(items[1].enabled) << "stop";
    EXPECT_TRUE(items[2].enabled) << "station check";

    // Sent anyway, as a button not yet refreshed would send it.
    ASSERT_TRUE(Command(ID_LAUNCH_STATION));
    EXPECT_EQ(program_->Windows().size(), 1u) << "no picker, no message";
    EXPECT_TRUE(driver_.Requests().empty());
}

// Station 1 recorded as launched, as a launch leaves it; RunInDriver makes
// the driver run it as well.
class StationStop : public StationCommands {
protected:
    void SetUp() override {
        StationCommands::SetUp();
        SetStation(1, "Front Desk", "mwclerk", true);
    }
    void RunInDriver() { ASSERT_TRUE(driver_.AddLaunch("Front Desk", "mwclerk", 0)); }

    // Gives the stop command as the menu does; the message box it shows.
    HWND Stop() {
        PostMessageA(main_, WM_COMMAND, ID_STOP_STATION, 0);
        return program_->WaitForMessageBox();
    }
};

// The buttons a message box offers.
std::vector<int> Buttons(HWND box) {
    std::vector<int> buttons;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        if (button && IsWindowVisible(button)) buttons.push_back(id);
    }
    return buttons;
}

const std::vector<int> kYesNo = {IDYES, IDNO};
const std::vector<int> kOk = {IDOK};

TEST_F(StationStop, StopsOnlyWhenTheAdministratorConfirms) {
    RunInDriver();
    ASSERT_NE(Start(), nullptr);

    HWND box = Stop();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_CONFIRM_STOP));
    EXPECT_EQ(Buttons(box), kYesNo);
    ASSERT_TRUE(Answer(box, IDNO));
    EXPECT_TRUE(RequestsOf(kStopStation).empty());
    EXPECT_EQ(driver_.Status().launchCount, 1u);
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(1));
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));

    box = Stop();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_CONFIRM_STOP));
    EXPECT_EQ(Buttons(box), kYesNo);
    ASSERT_TRUE(Answer(box, IDYES));
    auto stops = RequestsOf(kStopStation);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(stops[0].input.data()), "Front Desk");
    EXPECT_EQ(driver_.Status().launchCount, 0u);
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(0));
    EXPECT_TRUE(IsWindowEnabled(ViewItem(IDC_HOME_LAUNCH)));
    EXPECT_FALSE(IsWindowEnabled(ViewItem(IDC_HOME_STOP)));
    EXPECT_EQ(program_->WaitForMessageBox(300), nullptr) << "a stop that worked says nothing";
}

TEST_F(StationStop, PendingWorkRefusesTheStopBeforeAnyQuestion) {
    RunInDriver();
    ASSERT_TRUE(driver_.SetPending(true));
    ASSERT_NE(Start(), nullptr);

    HWND box = Stop();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_STOP_PENDING));
    EXPECT_EQ(Buttons(box), kOk);
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(program_->WaitForMessageBox(300), nullptr) << "no confirmation after the refusal";
    EXPECT_TRUE(RequestsOf(kStopStation).empty());
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(1));
}

TEST_F(StationStop, AStopTheDriverCannotPerformIsReportedAfterTheConfirmation) {
    // Launched in the registry, unknown to the driver.
    ASSERT_NE(Start(), nullptr);

    HWND box = Stop();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_CONFIRM_STOP));
    EXPECT_EQ(Buttons(box), kYesNo);
    test_support::PressButton(box, IDYES);
    ASSERT_TRUE(WaitFor([box] { return !IsWindow(box); }));

    box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), LibraryText(IDS_STOP_FAILED));
    EXPECT_EQ(Buttons(box), kOk);
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(RequestsOf(kStopStation).empty());
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, StationKey(1), "Launched"), Binary(1));
}

// ---- Marked system -------------------------------------------------------

using MarkedSystem = MainWindowTest;

TEST_F(MarkedSystem, StationCheckGoesAndTheLeftColumnClosesUp) {
    SetBoard("KX4 PA-2");
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);

    // One item fewer than the eight of an ordinary system.
    auto items = OpenAndReadMenu(main_, kStationMenu);
    EXPECT_EQ(items.size(), 7u);

    EXPECT_FALSE(IsWindowVisible(ViewItem(IDC_HOME_CHECK)));
    const struct {
        int item;
        Place place;
    } column[] = {{IDC_HOME_MESSAGE, {25, 60}}, {IDC_HOME_REMOVE_USER, {25, 120}}, {IDC_HOME_SETTINGS, {25, 180}}};
    for (const auto& each : column) {
        RECT frame = {};
        GetWindowRect(ViewItem(each.item), &frame);
        POINT corner = {frame.left, frame.top};
        ScreenToClient(View(), &corner);
        EXPECT_EQ((Place{corner.x, corner.y}), each.place) << "item " << each.item;
        EXPECT_TRUE(IsWindowVisible(ViewItem(each.item))) << "item " << each.item;
    }
}

// ---- The picture and the language ----------------------------------------

// The near-white pixels in the view's top right corner: the standard
// picture writes the program's name in white there, the _JAP one leaves the
// sky plain.
int WhiteInTitleCorner(const Screenshot& view) {
    int white = 0;
    for (int y = 0; y < view.Height() / 5; ++y) {
        for (int x = view.Width() / 2; x < view.Width(); ++x) {
            COLORREF pixel = view.At(x, y);
            if (GetRValue(pixel) >= 230 && GetGValue(pixel) >= 230 && GetBValue(pixel) >= 230) ++white;
        }
    }
    return white;
}

struct Language {
    const char* name;
    bool titled;  // the standard picture, with the program's name
};

void PrintTo(const Language& language, std::ostream* out) {
    *out << language.name;
}

class LanguagePicture : public MainWindowTest, public ::testing::WithParamInterface<Language> {
protected:
    // The host's language is kept first, so it is put back whatever fails.
    void SetUp() override {
        char value[64] = {};
        GetProfileStringA("intl", "sLanguage", kMissing, value, sizeof value);
        hadLanguage_ = std::string(value) != kMissing;
        language_ = value;
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        WriteProfileStringA("intl", "sLanguage", hadLanguage_ ? language_.c_str() : nullptr);
    }

    static constexpr const char* kMissing = "(none)";
    bool hadLanguage_ = false;
    std::string language_;
};

TEST_P(LanguagePicture, ChoosesTheStandardOrTheUntitledPicture) {
    ASSERT_TRUE(WriteProfileStringA("intl", "sLanguage", GetParam().name));
    SetStation(1, "Front Desk", "mwclerk");
    ASSERT_NE(Start(), nullptr);

    const int white = WhiteInTitleCorner(ClientOnScreen(View()));
    if (GetParam().titled)
        EXPECT_GT(white, 300);
    else
        EXPECT_LT(white, 30);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguagePicture,
                         ::testing::Values(Language{"jpn", false}, Language{"enu", true},
                                           // Compared exactly: other cases and other Chinese are standard.
                                           Language{"JPN", true}, Language{"chs", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
