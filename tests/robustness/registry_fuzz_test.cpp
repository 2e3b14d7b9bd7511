// The control center on a registry that other tools, old versions and a
// damaged disk have filled with values of every wrong kind: each seed lays
// out the same rough configuration, the control center is started, every
// command of its main window is carried out as far as it loads and saves,
// and the program is closed and started once more. It must not crash, must
// write nowhere but its own keys, its port keys and its entries in win.ini's
// [Ports], and must write its own branch only in its own encodings.
//
// ORVANTA_ROBUSTNESS=long tries a few hundred seeds; ORVANTA_ROBUSTNESS_SEED=N
// (or A..B) replays just those.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "campaign.h"
#include "file_backup.h"
#include "host_folders.h"
#include "main_window_fixture.h"
#include "registry_values.h"
#include "worker_thread.h"

namespace {

using namespace main_window;

const char kProfileList[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList";
const char kDevices[] = "Config Manager\\Enum";
const char kTernway[] = "Enum\\Root\\Ternway";
const char kPortClass[] = "System\\CurrentControlSet\\Services\\Class\\Ports";

// ---- The generator ---------------------------------------------------------

// xorshift64: the same numbers from the same seed on every machine.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 32);
    }
    int Below(int count) { return static_cast<int>(Next() % static_cast<uint32_t>(count)); }
    template <typename T, size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(static_cast<int>(N))];
    }

private:
    uint64_t state_;
};

// A value as the generator stores it; type REG_NONE with no bytes and
// `remove` set deletes it instead.
struct Raw {
    DWORD type = REG_SZ;
    std::string bytes;
    bool remove = false;
};

Raw Zeroed(const std::string& text) {
    return {REG_SZ, text + '\0'};
}

std::string Bytes(Random& random, size_t count) {
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random.Below(256));
    return bytes;
}

// What may stand where a one-byte or four-byte number belongs.
Raw WrongNumber(Random& random) {
    switch (random.Below(9)) {
    case 0: {
        DWORD number = random.Next();
        return {REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number)};
    }
    case 1:
        return {REG_MULTI_SZ, std::string("1\0\0", 3)};
    case 2: {
        const size_t sizes[] = {0, 2, 3, 5, 600};
        return {REG_BINARY, Bytes(random, random.Pick(sizes))};
    }
    case 3:
        return Zeroed("1");
    case 4:
        return {REG_BINARY, std::string(1, static_cast<char>(0xFF))};
    case 5:
        return {REG_BINARY, std::string(4, static_cast<char>(0xFF))};
    case 6:
        return {REG_SZ, "7"};  // no terminator
    case 7:
        return {REG_BINARY, Bytes(random, 1)};
    default:
        return {REG_NONE, "", true};
    }
}

// Names a person or a tool would not give, and some they would.
const char* const kOddTexts[] = {
    "..\\..\\Windows\\win",
    "..",
    "Station\\1",
    "\x01\x02\t\r\n\x1b",
    "Caf\xE9 \xC4\xD6\xDC \x80\x9F\xFF",  // Windows-1252 letters
    "%s%s%n%d%x",
    "[windows]\r\nload=evil.exe\r\n[Ports]",
    "COM1=9600,n,8,1",
    "  ",
    ";comment",
    "LPT1",
};

// What may stand where a text belongs.
Raw WrongText(Random& random) {
    switch (random.Below(13)) {
    case 0:
        return {REG_SZ, "Front Desk"};  // no terminator
    case 1:
        return Zeroed(std::string(511, 'a'));
    case 2:
        return Zeroed(std::string(512, 'b'));
    case 3:
        return Zeroed(std::string(5000, 'c'));
    case 4:
        return {REG_SZ, std::string(512, 'd')};  // full, no terminator
    case 5:
        return {REG_DWORD, std::string("\x05\0\0\0", 4)};
    case 6:
        return {REG_MULTI_SZ, std::string("a\0b\0\0", 5)};
    case 7:
        return {REG_BINARY, Bytes(random, 600)};
    case 8:
        return {REG_EXPAND_SZ, std::string("%WINDIR%\0", 9)};
    case 9:
        return {REG_SZ, ""};  // no bytes at all
    case 10:
        return {REG_SZ, std::string("ab\0cd\0", 6)};
    case 11:
        return {REG_NONE, "", true};
    default:
        return Zeroed(random.Pick(kOddTexts));
    }
}

const char* const kNumberNamesOfBoard[] = {"Detected",          "Active Ports",    "Launched",
                                           "Port1 is Host",     "Physical Ports",  "Memory Location",
                                           "Physical Location", "Linear Location", "Memory Size"};
const char* const kNumberNamesOfStation[] = {"Launched",     "AutoLaunch",       "Detected",        "OnLine",
                                             "Zq Base Init", "Zq Keyboard Init", "Zq Mouse Init",   "IO Handle",
                                             "Board Number", "Serial1 Enabled",  "Serial2 Enabled", "Printer Enabled"};
const char* const kTextNamesOfStation[] = {"Logged In User",   "Default User",     "Station Name",
                                           "Serial1 PortName", "Serial2 PortName", "Printer PortName",
                                           "Serial1 Name",     "Serial2 Name",     "Printer Name"};
const char* const kGlobalNames[] = {"Shutdown Enabled", "Shutdown Default", "AutoLaunch Enabled", "DebugTestMessages"};
const char* const kSlotTextFormats[] = {"%cMessage", "%cCaption", "%cStation", "%cTimeStamp", "%cType", "%cUser"};

std::string SlotName(const char* format, int slot) {
    char name[32] = {};
    snprintf(name, sizeof name, format, 'a' + slot);
    return name;
}

// The stations the baseline lays out are the likelier targets.
int SomeStation(Random& random) {
    return random.Below(4) ? 1 + random.Below(4) : 1 + random.Below(8);
}

// One seed's registry: a sound installation, then the damage.
class RoughCase {
public:
    explicit RoughCase(uint64_t seed) : random_(seed) {}

    void LayOut(test_support::CorehubClient& driver) {
        LayBaseline(driver);
        for (int count = 3 + random_.Below(10); count > 0; --count) Damage();
    }

    const std::vector<std::string>& Steps() const { return steps_; }

private:
    void Set(HKEY root, const std::string& path, const std::string& name, const Raw& value) {
        if (value.remove)
            test_support::DeleteValue(root, path, name.c_str());
        else
            test_support::PutValue(root, path, name.c_str(), value.type, value.bytes);
        std::ostringstream step;
        step << path << "|" << name << " <- ";
        if (value.remove)
            step << "(deleted)";
        else
            step << "type " << value.type << ", " << value.bytes.size() << " bytes";
        steps_.push_back(step.str());
    }

    void MakeKey(HKEY root, const std::string& path) {
        HKEY key = nullptr;
        if (RegCreateKeyA(root, path.c_str(), &key) == ERROR_SUCCESS) RegCloseKey(key);
        steps_.push_back("key " + path);
    }

    void LayBaseline(test_support::CorehubClient& driver) {
        Put(HKEY_LOCAL_MACHINE, kProductKey, "AutoLaunch Enabled", Binary(static_cast<BYTE>(random_.Below(2))));
        Put(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Default", Binary(0));
        Put(HKEY_LOCAL_MACHINE, kProductKey, "Shutdown Enabled", Binary(0));
        Put(HKEY_LOCAL_MACHINE, kSetupKey, "NoEwxForce", Binary(0));
        Put(HKEY_LOCAL_MACHINE, BoardKey(1), "Detected", Binary(1));
        Put(HKEY_LOCAL_MACHINE, BoardKey(1), "Board Name", Text(random_.Below(2) ? "KX4 PB-4" : "KX4 Station Adapter"));
        for (int number = 1, stations = 1 + random_.Below(4); number <= stations; ++number) {
            const std::string name = "Station " + std::to_string(number);
            const std::string user = "fzuser" + std::to_string(number);
            const bool launched = random_.Below(3) == 0;
            test_support::PrepareStation(number, true, false, name.c_str(), user.c_str());
            Put(HKEY_LOCAL_MACHINE, StationKey(number), "Board Number", Binary(0));
            Put(HKEY_LOCAL_MACHINE, StationKey(number), "Launched", Binary(launched ? 1 : 0));
            if (!launched) continue;
            Put(HKEY_LOCAL_MACHINE, StationKey(number), "Logged In User", Text(user));
            driver.AddLaunch(name.c_str(), user.c_str(), number - 1);
        }
        for (int slot = 0; slot < 2; ++slot) {
            Put(HKEY_LOCAL_MACHINE, kMessageStoreKey, SlotName("%cMessage", slot).c_str(), Text("Printer jammed"));
            Put(HKEY_LOCAL_MACHINE, kMessageStoreKey, SlotName("%cStation", slot).c_str(), Text("Station 1"));
            Put(HKEY_LOCAL_MACHINE, kMessageStoreKey, SlotName("%cTimeStamp", slot).c_str(), Text("00004E2000A4CB80"));
        }
    }

    void Damage() {
        switch (random_.Below(9)) {
        case 0:
            Set(HKEY_LOCAL_MACHINE, random_.Below(5) ? kProductKey : kSetupKey,
                random_.Below(5) ? random_.Pick(kGlobalNames) : "NoEwxForce", WrongNumber(random_));
            break;
        case 1: {
            const int board = random_.Below(3) ? 1 : 1 + random_.Below(4);
            if (random_.Below(2))
                Set(HKEY_LOCAL_MACHINE, BoardKey(board), random_.Pick(kNumberNamesOfBoard), WrongNumber(random_));
            else
                Set(HKEY_LOCAL_MACHINE, BoardKey(board), "Board Name", WrongText(random_));
            break;
        }
        case 2:
            Set(HKEY_LOCAL_MACHINE, StationKey(SomeStation(random_)), random_.Pick(kNumberNamesOfStation),
                WrongNumber(random_));
            break;
        case 3:
            Set(HKEY_LOCAL_MACHINE, StationKey(SomeStation(random_)), random_.Pick(kTextNamesOfStation),
                WrongText(random_));
            break;
        case 4: {
            const int slot = random_.Below(26);
            if (random_.Below(4) == 0)
                Set(HKEY_LOCAL_MACHINE, kMessageStoreKey, SlotName("%cSeenByFrontEnd", slot), WrongNumber(random_));
            else
                Set(HKEY_LOCAL_MACHINE, kMessageStoreKey, SlotName(random_.Pick(kSlotTextFormats), slot),
                    WrongText(random_));
            break;
        }
        case 5:
            DamageKeys();
            break;
        case 6: {
            // A user whose name is no file name.
            static const char* const kUserNames[] = {"..",       "...",    "fz\x01user", "Caf\xE9",
                                                     "fz user ", "a b\tc", "%s%n"};
            MakeKey(HKEY_LOCAL_MACHINE, std::string(kProfileList) + "\\" + random_.Pick(kUserNames));
            break;
        }
        case 7: {
            // A device of the live list, for the station sheet's port check.
            static const char* const kDeviceNames[] = {"C0FFEE01", "CZZ", "D00", "C"};
            const std::string device = std::string(kDevices) + "\\" + random_.Pick(kDeviceNames);
            MakeKey(HKEY_DYN_DATA, device);
            Raw key = random_.Below(2) ? WrongText(random_)
                                       : Zeroed("Root\\Ternway\\App" + std::to_string(SomeStation(random_)) + "Port" +
                                                std::to_string(1 + random_.Below(2)));
            Set(HKEY_DYN_DATA, device, "HardWareKey", key);
            break;
        }
        default: {
            // A port that stays registered, under a name of the wrong kind.
            const int station = SomeStation(random_), port = 1 + random_.Below(3);
            static const char* const kEnabled[] = {"Serial1 Enabled", "Serial2 Enabled", "Printer Enabled"};
            static const char* const kPortNames[] = {"Serial1 PortName", "Serial2 PortName", "Printer PortName"};
            static const char* const kFriendly[] = {"Serial1 Name", "Serial2 Name", "Printer Name"};
            MakeKey(HKEY_LOCAL_MACHINE,
                    std::string(kTernway) + "\\App" + std::to_string(station) + "Port" + std::to_string(port));
            Set(HKEY_LOCAL_MACHINE, StationKey(station), kEnabled[port - 1], {REG_BINARY, "\x01"});
            Set(HKEY_LOCAL_MACHINE, StationKey(station), random_.Below(2) ? kPortNames[port - 1] : kFriendly[port - 1],
                random_.Below(2) ? WrongText(random_) : Zeroed(random_.Pick(kOddTexts)));
            break;
        }
        }
    }

    void DamageKeys() {
        switch (random_.Below(6)) {
        case 0:
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, StationKey(SomeStation(random_)).c_str());
            steps_.push_back("a station key deleted");
            break;
        case 1:
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, BoardKey(1).c_str());
            steps_.push_back("board 1 deleted");
            break;
        case 2:
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMessageStoreKey);
            steps_.push_back("message store deleted");
            break;
        case 3: {
            static const char* const kExtra[] = {"Station9", "Station0", "Board0", "Board5", "Station10"};
            MakeKey(HKEY_LOCAL_MACHINE, std::string(kSetupKey) + "\\" + random_.Pick(kExtra));
            break;
        }
        case 4: {
            static const char* const kChildren[] = {"Extra", "..", "Caf\xE9", "a b"};
            MakeKey(HKEY_LOCAL_MACHINE, StationKey(SomeStation(random_)) + "\\" + random_.Pick(kChildren));
            break;
        }
        default:
            MakeKey(HKEY_LOCAL_MACHINE, std::string(kMessageStoreKey) + "\\aMessage");
            break;
        }
    }

    Random random_;
    std::vector<std::string> steps_;
};

// ---- What the program may touch ------------------------------------------

// A part of the registry around what the program writes, with the keys the
// program may write below it.
struct Area {
    HKEY root;
    std::string path;
    // Keys the program may write with everything below them; one ending in
    // '|' is only the key itself, without values.
    std::vector<std::string> allowed;
};

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && _strnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

std::vector<std::string> StationPortKeys(const std::string& parent) {
    std::vector<std::string> keys;
    for (int station = 1; station <= 8; ++station) {
        for (int port = 1; port <= 3; ++port)
            keys.push_back(parent + "\\App" + std::to_string(station) + "Port" + std::to_string(port));
    }
    return keys;
}

std::vector<Area> Surroundings() {
    std::vector<std::string> hardware = StationPortKeys(kTernway), drivers = StationPortKeys(kPortClass);
    // The folder keys themselves, without values.
    hardware.push_back(std::string(kTernway) + "|");
    drivers.push_back(std::string(kPortClass) + "|");
    return {
        {HKEY_LOCAL_MACHINE, "Software\\Quillon", {kProductKey}},
        {HKEY_LOCAL_MACHINE, "Enum\\Root", hardware},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class", drivers},
        {HKEY_LOCAL_MACHINE, kProfileList, {}},
        {HKEY_CURRENT_USER, "Software\\Quillon", {"Software\\Quillon|", "Software\\Quillon\\zelto"}},
        {HKEY_DYN_DATA, kDevices, {}},
    };
}

// Each key as "path|" and each value as "path|name", with its contents.
std::map<std::string, std::string> Snapshot(const Area& area) {
    std::map<std::string, std::string> entries;
    std::istringstream dump(test_support::DumpKeyTree(area.root, area.path));
    std::string line, key;
    while (std::getline(dump, line)) {
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            key = line.substr(1, line.size() - 2);
            entries[key + "|"] = "";
        }
    }
    for (const auto& [where, value] : test_support::AllValues(area.root, area.path))
        entries[where] = std::to_string(value.first) + ":" + value.second;
    return entries;
}

bool Allowed(const Area& area, const std::string& entry) {
    for (const std::string& key : area.allowed) {
        if (key.back() == '|' ? _stricmp(entry.c_str(), key.c_str()) == 0
                              : StartsWith(entry, key) && (entry[key.size()] == '\\' || entry[key.size()] == '|'))
            return true;
    }
    return false;
}

// win.ini by section, each section's lines in order.
std::map<std::string, std::vector<std::string>> IniSections(const std::string& bytes) {
    std::map<std::string, std::vector<std::string>> sections;
    std::string section, line;
    std::istringstream lines(bytes);
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            section = line;
            for (char& c : section) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            sections[section];
        } else if (!line.empty()) {
            sections[section].push_back(line);
        }
    }
    return sections;
}

std::string WinIni() {
    return test_support::WindowsFile("win.ini");
}

struct Before {
    std::vector<std::map<std::string, std::string>> areas;
    test_support::ValueMap product;
    std::string winIni;
};

Before TakeBefore(const std::vector<Area>& areas) {
    Before before;
    for (const Area& area : areas) before.areas.push_back(Snapshot(area));
    before.product = test_support::AllValues(HKEY_LOCAL_MACHINE, kProductKey);
    before.winIni = test_support::ReadFileBytes(WinIni());
    return before;
}

// What changed outside the program's own places.
std::vector<std::string> WritesOutside(const std::vector<Area>& areas, const Before& before) {
    std::vector<std::string> found;
    for (size_t i = 0; i < areas.size(); ++i) {
        const auto after = Snapshot(areas[i]);
        std::set<std::string> entries;
        for (const auto& entry : before.areas[i]) entries.insert(entry.first);
        for (const auto& entry : after) entries.insert(entry.first);
        for (const std::string& entry : entries) {
            auto was = before.areas[i].find(entry), is = after.find(entry);
            bool same = was != before.areas[i].end() && is != after.end() && was->second == is->second;
            if (!same && !Allowed(areas[i], entry)) found.push_back(entry);
        }
    }
    // win.ini: only entries of [Ports], and those only as "name=" lines.
    auto was = IniSections(before.winIni), is = IniSections(test_support::ReadFileBytes(WinIni()));
    std::set<std::string> sections;
    for (const auto& section : was) sections.insert(section.first);
    for (const auto& section : is) sections.insert(section.first);
    for (const std::string& section : sections) {
        if (section != "[ports]") {
            if (was[section] != is[section]) found.push_back("win.ini " + section);
            continue;
        }
        const std::set<std::string> old(was[section].begin(), was[section].end());
        for (const std::string& line : std::set<std::string>(is[section].begin(), is[section].end())) {
            if (old.count(line)) continue;
            size_t equals = line.find('=');
            if (equals == std::string::npos || equals + 1 != line.size() || equals == 0)
                found.push_back("win.ini [Ports] line " + line);
        }
    }
    return found;
}

// Values of the product branch that the run wrote in an encoding of its own
// making: one or four binary bytes, or a string of at most 511 characters
// with its terminator.
std::vector<std::string> WrongEncodings(const test_support::ValueMap& before) {
    std::vector<std::string> found;
    for (const auto& [where, value] : test_support::AllValues(HKEY_LOCAL_MACHINE, kProductKey)) {
        auto old = before.find(where);
        if (old != before.end() && old->second == value) continue;
        const auto& [type, bytes] = value;
        bool sound = (type == REG_BINARY && (bytes.size() == 1 || bytes.size() == 4)) ||
                     (type == REG_SZ && !bytes.empty() && bytes.size() <= 512 && bytes.back() == '\0');
        if (!sound)
            found.push_back(where + " (type " + std::to_string(type) + ", " + std::to_string(bytes.size()) + " bytes)");
    }
    return found;
}

// ---- Driving the program -------------------------------------------------

// Gets past one window the program shows: a message box with Yes or OK, a
// picker with its first station, the shutdown and the user removal
// cancelled, any other dialog with OK; Cancel and then closing when a window
// stays after that.
void Answer(HWND window, int tries) {
    using test_support::PressButton;
    auto has = [window](int id) { return GetDlgItem(window, id) != nullptr; };
    if (tries >= 4) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    } else if (tries >= 2 || has(IDC_SHUTDOWN_POWER_OFF) || has(IDC_USER_PICK_LIST)) {
        PressButton(window, IDCANCEL);
    } else if (has(0xFFFF)) {
        PressButton(window, has(IDYES) ? IDYES : has(IDOK) ? IDOK : IDCANCEL);
    } else if (has(IDC_PICK_STATION1)) {
        int pick = IDCANCEL;
        for (int id = IDC_PICK_STATION1; id < IDC_PICK_STATION1 + 8 && pick == IDCANCEL; ++id) {
            HWND button = GetDlgItem(window, id);
            if (button && IsWindowEnabled(button) && IsWindowVisible(button)) pick = id;
        }
        PressButton(window, pick);
    } else if (has(IDC_STOP_PICK_LIST)) {
        HWND list = GetDlgItem(window, IDC_STOP_PICK_LIST);
        PostMessageA(list, LB_SETCURSEL, 0, 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_STOP_PICK_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        PressButton(window, IDOK);
    } else {
        PressButton(window, IDOK);
    }
}

// Answers the program's windows until `done` holds; false when it did not
// within the time.
bool AnswerUntil(Program& program, HWND main, const std::function<bool()>& done, DWORD milliseconds) {
    // Told by caption and text rather than by handle: a dialog that comes
    // back after OK (the station check checks again) is cancelled in turn.
    std::map<std::string, std::pair<int, DWORD>> answered;  // tries, when last
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds) return false;
        for (HWND window : program.Windows()) {
            if (window == main || !IsWindowEnabled(window) || test_support::ClassName(window) != "#32770") continue;
            auto& [tries, when] =
                answered[test_support::WindowText(window) + "\n" + test_support::MessageBoxText(window)];
            if (tries > 0 && GetTickCount() - when < 400) continue;
            Answer(window, tries++);
            when = GetTickCount();
        }
        Sleep(30);
    }
    return true;
}

// Gives the command as the menu does and sees it through; false when it
// did not end in time.
bool RunCommand(Program& program, HWND main, UINT command) {
    std::atomic<bool> finished{false};
    test_support::WorkerThread sender([&] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, WM_COMMAND, command, 0, SMTO_NORMAL, 15000, &result);
        finished = true;
    });
    bool ended = AnswerUntil(
        program, main, [&] { return finished.load(); }, 16000);
    sender.Join();
    return ended;
}

// The main window's commands, but for help and the web page, which hand a
// file or an address to another program and read no configuration.
const UINT kCommands[] = {ID_AUTOLAUNCH_ON,  ID_AUTOLAUNCH_OFF,   ID_SHUTDOWN_DEFAULT_ON, ID_SHUTDOWN_DEFAULT_OFF,
                          ID_LAUNCH_STATION, ID_STOP_STATION,     ID_STATION_CHECK,       ID_STATION_SETTINGS,
                          ID_SEND_MESSAGE,   ID_RUNNING_PROGRAMS, ID_MESSAGE_LOG,         ID_REMOVE_USER,
                          ID_LIST_USERS,     ID_SHUTDOWN_SYSTEM,  ID_SUPPORT_INFO,        ID_APP_ABOUT_CMD};

// Starts the control center, lets `work` drive it and closes it with Exit;
// false with the reason when it does not start, hangs or ends abnormally.
bool Session(const std::function<bool(Program&, HWND)>& work, std::string& why) {
    Program program(Zelto(), "");
    HWND main = program.WaitForWindowOfClass(kMainClass, 15000);
    // A box at start-up comes before the main window.
    if (!main) {
        AnswerUntil(
            program, nullptr, [&] { return (main = program.WaitForWindowOfClass(kMainClass, 100)) != nullptr; }, 5000);
    }
    if (!main) {
        why = "no main window";
        return false;
    }
    if (!work(program, main)) {
        why = "hung";
        return false;
    }
    PostMessageA(main, WM_COMMAND, ID_EXIT, 0);
    DWORD exitCode = STILL_ACTIVE;
    AnswerUntil(
        program, main, [&] { return program.WaitForExit(50, &exitCode); }, 10000);
    if (exitCode != 0) {
        why = exitCode == STILL_ACTIVE ? "did not end" : "ended with " + std::to_string(exitCode);
        return false;
    }
    return true;
}

// ---- The campaign --------------------------------------------------------

struct Figures {
    int cases = 0, crashes = 0, writesOutside = 0, wrongEncodings = 0, failedRestarts = 0, configurationsLost = 0;
};

// The configuration that is sound in spite of the damage: each board's and
// station's name and each station's default user that is a text the
// product writes (terminated, 1 to 31 characters), by key and name. The
// commands run far enough to save, and must write each back as it was.
std::map<std::string, std::string> SoundNames() {
    std::map<std::string, std::string> sound;
    auto take = [&sound](const std::string& key, const char* name) {
        const test_support::StoredValue value = test_support::ReadValue(HKEY_LOCAL_MACHINE, key, name);
        if (!value.present || value.type != REG_SZ || value.bytes.size() < 2 || value.bytes.size() > 32 ||
            value.bytes.back() != '\0' || value.bytes.find('\0') != value.bytes.size() - 1)
            return;
        sound[key + "|" + name] = value.bytes;
    };
    for (int number = 1; number <= 4; ++number) take(BoardKey(number), "Board Name");
    for (int number = 1; number <= 8; ++number) {
        take(StationKey(number), "Station Name");
        take(StationKey(number), "Default User");
    }
    return sound;
}

std::vector<std::string> SoundNamesLost(const std::map<std::string, std::string>& before) {
    std::vector<std::string> lost;
    const std::map<std::string, std::string> after = SoundNames();
    for (const auto& [place, bytes] : before) {
        auto now = after.find(place);
        if (now == after.end() || now->second != bytes) lost.push_back(place + " was \"" + bytes.c_str() + "\"");
    }
    return lost;
}

// What one seed leaves of the host: the registry and win.ini as before.
struct CaseBackups {
    test_support::RegistryBackup product{HKEY_LOCAL_MACHINE, kProductKey};
    test_support::RegistryBackup hardware{HKEY_LOCAL_MACHINE, kTernway};
    test_support::RegistryBackup drivers{HKEY_LOCAL_MACHINE, kPortClass};
    test_support::RegistryBackup profiles{HKEY_LOCAL_MACHINE, kProfileList};
    test_support::RegistryBackup devices{HKEY_DYN_DATA, kDevices};
    test_support::RegistryBackup window{HKEY_CURRENT_USER, "Software\\Quillon"};
    test_support::FileBackup winIni{WinIni()};
};

void RunCase(uint64_t seed, test_support::CorehubClient& driver, Figures& figures) {
    CaseBackups backups;
    driver.Reset();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    RoughCase rough(seed);
    rough.LayOut(driver);
    const std::vector<Area> areas = Surroundings();
    const Before before = TakeBefore(areas);
    const std::map<std::string, std::string> soundBefore = SoundNames();

    std::string why;
    bool ran = Session(
        [](Program& program, HWND main) {
            for (UINT command : kCommands) {
                if (!RunCommand(program, main, command)) return false;
            }
            return true;
        },
        why);
    const auto outside = WritesOutside(areas, before);
    const auto encodings = WrongEncodings(before.product);
    const auto lost = SoundNamesLost(soundBefore);
    std::string restartWhy;
    bool restarted = Session([](Program&, HWND) { return true; }, restartWhy);

    ++figures.cases;
    figures.crashes += ran ? 0 : 1;
    figures.writesOutside += outside.empty() ? 0 : 1;
    figures.wrongEncodings += encodings.empty() ? 0 : 1;
    figures.failedRestarts += restarted ? 0 : 1;
    figures.configurationsLost += lost.empty() ? 0 : 1;
    for (const char* user : {"fzuser1", "fzuser2", "fzuser3", "fzuser4"}) RegDeleteTreeA(HKEY_USERS, user);
    if (ran && outside.empty() && encodings.empty() && restarted && lost.empty()) return;

    std::ostringstream report;
    report << "seed " << seed << " failed (replay with ORVANTA_ROBUSTNESS_SEED=" << seed << ")\n";
    if (!ran) report << "  the run: " << why << "\n";
    for (const auto& entry : outside) report << "  written outside: " << entry << "\n";
    for (const auto& entry : encodings) report << "  written in a wrong encoding: " << entry << "\n";
    for (const auto& entry : lost) report << "  a sound configuration lost: " << entry << "\n";
    if (!restarted) report << "  the next start: " << restartWhy << "\n";
    report << "  the case:\n";
    for (const auto& step : rough.Steps()) report << "    " << step << "\n";
    ADD_FAILURE() << report.str();
}

TEST(RegistryFuzz, TheControlCenterSurvivesValuesOfEveryWrongKind) {
    test_support::CorehubClient driver;
    ASSERT_TRUE(driver.IsOpen()) << "the stand-in driver is not running";
    test_support::RegistryBackup window{HKEY_CURRENT_USER, kWindowKey};
    std::string form;
    const auto [first, last] = robustness::Seeds(8, 300, form);
    Figures figures;
    for (uint64_t seed = first; seed <= last; ++seed) RunCase(seed, driver, figures);
    driver.Reset();
    printf(
        "registry fuzz campaign (%s, seeds %llu..%llu): %d cases, crashes %d, writes outside %d, values in a "
        "wrong encoding %d, failed restarts %d, sound configurations lost %d\n",
        form.c_str(), static_cast<unsigned long long>(first), static_cast<unsigned long long>(last), figures.cases,
        figures.crashes, figures.writesOutside, figures.wrongEncodings, figures.failedRestarts,
        figures.configurationsLost);
}

}  // namespace
