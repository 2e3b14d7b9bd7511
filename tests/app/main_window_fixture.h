// What the end-to-end tests of the main window share: the registry as
// stored, the screen as shown, and a fixture that prepares a host with one
// board and starts the control center.
//
// Another process's window contents are out of reach under Wine (a foreign
// window's device context reads black), so the tests read the view off the
// screen.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
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
#include "registry_values.h"
#include "resource_ids.h"

namespace main_window {

using test_support::Program;

const char kMainClass[] = "OrvantaZqControlCenter";
const char kProductKey[] = "Software\\Quillon\\Orvanta";
const char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";
const char kMessageStoreKey[] = "Software\\Quillon\\Orvanta\\Setup\\BlueScreenMessage";
const char kWindowKey[] = "Software\\Quillon\\zelto\\Window";
const int kViewId = 0xE900;
// The driver's requests to launch and to stop a station.
const uint32_t kLaunchStation = 0x220802;
const uint32_t kStopStation = 0x22080C;
// The users whose launches leave a key under HKEY_USERS.
const char* const kUsers[] = {"mwclerk", "mwreader"};

inline std::string StationKey(int number) {
    return std::string(kSetupKey) + "\\Station" + std::to_string(number);
}
inline std::string BoardKey(int number) {
    return std::string(kSetupKey) + "\\Board" + std::to_string(number);
}

// ---- Registry ------------------------------------------------------------

// A value as stored: its type and its bytes; type 0 when it is missing.
struct Value {
    DWORD type = 0;
    std::string bytes;
    bool operator==(const Value&) const = default;
};

inline void PrintTo(const Value& value, std::ostream* out) {
    *out << "type " << value.type << ":";
    for (unsigned char byte : value.bytes) {
        char hex[4];
        snprintf(hex, sizeof hex, " %02X", byte);
        *out << hex;
    }
}

inline Value Binary(BYTE byte) {
    return {REG_BINARY, std::string(1, static_cast<char>(byte))};
}
inline Value Text(const std::string& text) {
    return {REG_SZ, text + '\0'};
}
inline Value Dword(DWORD number) {
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number)};
}

inline Value Stored(HKEY root, const std::string& path, const char* name) {
    const test_support::StoredValue stored = test_support::ReadValue(root, path, name);
    return stored.present ? Value{stored.type, stored.bytes} : Value{};
}

inline void Put(HKEY root, const std::string& path, const char* name, const Value& value) {
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

inline void PrintTo(const Place& place, std::ostream* out) {
    *out << "(" << place.x << ", " << place.y << ")";
}

// A text of the resource library as the program shows it.
inline std::string LibraryText(UINT id) {
    HMODULE library = LoadLibraryA("ZELTO.DLL");
    char text[1024] = {};
    LoadStringA(library, id, text, sizeof text);
    FreeLibrary(library);
    return text;
}

inline std::string Zelto() {
    return test_support::ProgramFolder() + "\\zelto.exe";
}

// Waits until done() holds; false when it did not in time.
inline bool WaitFor(const std::function<bool()>& done, DWORD milliseconds = 5000, DWORD interval = 20) {
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

// A window's client area as the screen shows it.
inline Screenshot ClientOnScreen(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return Screenshot(origin, client.right, client.bottom);
}

// Whether the screen shows a drawn background picture there rather than a
// window not drawn yet: many colours rather than one or two.
inline bool ShowsPicture(const Screenshot& picture) {
    std::set<COLORREF> colours;
    for (int y = 0; y < picture.Height(); y += 3) {
        for (int x = 0; x < picture.Width(); x += 3) colours.insert(picture.At(x, y));
    }
    return colours.size() >= 40;
}

// ---- Dialogs ---------------------------------------------------------------

// A dialog of the program that holds the child; the class tells it from the
// main window.
inline HWND WaitForDialogWith(Program& program, int childId, DWORD milliseconds = 10000) {
    return program.WaitForWindow(
        [childId](HWND window) {
            return test_support::ClassName(window) == "#32770" && GetDlgItem(window, childId) != nullptr;
        },
        milliseconds);
}

using test_support::ItemText;

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

    // Gives the command as the menu does; the dialog it opens.
    HWND Open(UINT command, int childId) {
        PostMessageA(main_, WM_COMMAND, command, 0);
        return WaitForDialogWith(*program_, childId);
    }

    // Waits until the dialog is gone and the command that opened it ended.
    bool Closed(HWND dialog) {
        if (!WaitFor([dialog] { return !IsWindow(dialog); })) return false;
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

// The buttons a message box offers.
inline std::vector<int> Buttons(HWND box) {
    std::vector<int> buttons;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        if (button && IsWindowVisible(button)) buttons.push_back(id);
    }
    return buttons;
}

inline const std::vector<int> kYesNo = {IDYES, IDNO};
inline const std::vector<int> kOk = {IDOK};

}  // namespace main_window
