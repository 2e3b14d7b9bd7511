// The administrator's configuration through whole lifecycles of the
// product: seeded sequences of changes made as the control center makes
// them, setups through setup.exe (cut off anywhere or not; the snapshot
// folder fine, missing, read-only or holding a leftover; the registry editor
// there or not), removals and fresh installations, on boot files as hosts
// have them. After every step the configuration as the control center reads
// it must be what a small model says, CONFIG.SYS must load the product's
// driver exactly while the product is installed, and nothing the campaign
// put on the host that is not the product's may be lost or changed.
//
// ORVANTA_ROBUSTNESS_SEED=N (or A..B) replays sequences, telling their steps.
#include <cstdio>
#include <map>
#include <random>
#include <set>

#include "campaign.h"
#include "cleanup_fixture.h"
#include "editor_away.h"
#include "model_fixture.h"

namespace {

using namespace cleanup_test;
using namespace robustness;

const char kFolder[] = "C:\\Orvanta Snapshot Test";
const char kForeignKey[] = "Software\\Quillon\\Lifecycle Foreign";
const DWORD kGuarded = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Every field of the configuration as LoadAll fills it, by name.
using Fields = std::map<std::string, std::string>;

void Put(Fields& fields, const std::string& record, const char* name, const std::string& value) {
    fields[record + "." + name] = value;
}

void Put(Fields& fields, const std::string& record, const char* name, uint32_t value) {
    Put(fields, record, name, std::to_string(value));
}

Fields BoardFields(const BoardConfig& b) {
    Fields f;
    const std::string r = "Board" + std::to_string(b.index + 1);
    Put(f, r, "detected", b.detected);
    Put(f, r, "port1IsHost", b.port1IsHost);
    Put(f, r, "linearLocation", b.linearLocation);
    Put(f, r, "memoryLocation", b.memoryLocation);
    Put(f, r, "memorySize", b.memorySize);
    Put(f, r, "physicalLocation", b.physicalLocation);
    Put(f, r, "activePorts", b.activePorts);
    Put(f, r, "physicalPorts", b.physicalPorts);
    Put(f, r, "launchedCount", b.launchedCount);
    Put(f, r, "boardName", b.boardName);
    return f;
}

Fields StationFields(const StationConfig& s) {
    Fields f;
    const std::string r = "Station" + std::to_string(s.index + 1);
    for (const auto& [name, value] :
         std::initializer_list<std::pair<const char*, uint32_t>>{{"autoLaunch", s.autoLaunch},
                                                                 {"detected", s.detected},
                                                                 {"launched", s.launched},
                                                                 {"serial1Enabled", s.serial1Enabled},
                                                                 {"serial2Enabled", s.serial2Enabled},
                                                                 {"printerEnabled", s.printerEnabled},
                                                                 {"baseInit", s.baseInit},
                                                                 {"keyboardInit", s.keyboardInit},
                                                                 {"mouseInit", s.mouseInit},
                                                                 {"ioHandle", s.ioHandle},
                                                                 {"boardNumber", s.boardNumber},
                                                                 {"onLine", s.onLine}})
        Put(f, r, name, value);
    for (const auto& [name, value] :
         std::initializer_list<std::pair<const char*, const std::string*>>{{"loggedInUser", &s.loggedInUser},
                                                                           {"defaultUser", &s.defaultUser},
                                                                           {"serial1PortName", &s.serial1PortName},
                                                                           {"serial2PortName", &s.serial2PortName},
                                                                           {"printerPortName", &s.printerPortName},
                                                                           {"serial1Name", &s.serial1Name},
                                                                           {"serial2Name", &s.serial2Name},
                                                                           {"printerName", &s.printerName},
                                                                           {"stationName", &s.stationName}})
        Put(f, r, name, *value);
    return f;
}

Fields GlobalFields(const SystemConfig& c) {
    Fields f;
    Put(f, "Globals", "shutdownDefault", c.shutdownDefault);
    Put(f, "Globals", "shutdownEnabled", c.shutdownEnabled);
    Put(f, "Globals", "autoLaunchEnabled", c.autoLaunchEnabled);
    Put(f, "Globals", "noEwxForce", c.noEwxForce);
    Put(f, "Globals", "debugTestMessages", c.debugTestMessages);
    return f;
}

Fields AllFields(const SystemConfig& c) {
    Fields f = GlobalFields(c);
    for (const BoardConfig& board : c.boards) f.merge(BoardFields(board));
    for (const StationConfig& station : c.stations) f.merge(StationFields(station));
    return f;
}

// What the control center reads at its start.
Fields ReadConfiguration() {
    SystemConfig config;
    return AllFields(config);
}

// The fields that differ, a few of them.
std::string Diverging(const Fields& expected, const Fields& found) {
    std::string shown;
    int listed = 0;
    for (const auto& [name, value] : expected) {
        auto other = found.find(name);
        if (other != found.end() && other->second == value) continue;
        if (listed++ < 6)
            shown += "\n    " + name + ": expected \"" + value + "\", found \"" +
                     (other == found.end() ? "(none)" : other->second) + "\"";
    }
    return shown;
}

// ---- The host's boot files, as the sequence lays them out --------------

const char kProductBlock[] =
    "rem -- Orvanta Setup -- added the next line on 14-Mar-1999\r\ndevice=c:\\windows\\orvanta.sys\r\n";

struct BootFile {
    explicit BootFile(const char* file) : path(file) {}
    const char* path;
    std::vector<std::string> foreignLines;  // before the mark, each as a whole line
    std::string tail;                       // from the first Ctrl-Z on, as laid out
    DWORD attributes = 0;
};

struct Host {
    BootFile config = BootFile(kConfigSys), autoexec = BootFile(kAutoexecBat);
    bool japaneseDisplay = false;
    std::vector<std::string> foreignEnh;  // [386Enh] entries of other drivers
};

// The lines of a text, without their line breaks.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Lays out CONFIG.SYS and AUTOEXEC.BAT as hosts have them: ending in Ctrl-Z,
// a Ctrl-Z inside a line, text after the mark, read-only, hidden; and a
// [386Enh] longer than 4K.
Host LayOutHost(std::mt19937& random) {
    auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const DWORD attributes[] = {0, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                                FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN};
    Host host;
    host.japaneseDisplay = pick(2) == 0;
    // Without a driver line before the mark the product's goes at its end.
    if (pick(3) != 0) host.config.foreignLines.push_back("DEVICE=C:\\WINDOWS\\HIMEM.SYS");
    host.config.foreignLines.push_back("FILES=40");
    std::string config = kProductBlock;
    for (const std::string& line : host.config.foreignLines) config += line + "\r\n";
    switch (pick(4)) {
    case 0:  // a Japanese display driver line cut short by the mark
        host.japaneseDisplay = true;
        config += "DEVICE=C:\\DOS\\JDISP.SYS";
        host.config.tail = "\x1A";
        break;
    case 1:
        if (host.japaneseDisplay) config += "DEVICE=C:\\DOS\\JDISP.SYS\r\n";
        host.config.tail = "\x1A";
        break;
    case 2:  // lines another installer appended after the mark
        if (host.japaneseDisplay) config += "DEVICE=C:\\DOS\\JDISP.SYS\r\n";
        host.config.tail =
            "\x1A\r\nDEVICE=C:\\LATER\\LATE.SYS\r\ndevice=c:\\windows\\orvanta.sys\r\nREM appended after the mark\r\n";
        break;
    default:
        if (host.japaneseDisplay) config += "DEVICE=C:\\DOS\\JDISP.SYS\r\n";
        break;
    }
    host.config.attributes = attributes[pick(4)];

    host.autoexec.foreignLines = {"@ECHO OFF", "SET TEMP=C:\\WINDOWS\\TEMP"};
    std::string autoexec = "@ECHO OFF\r\nC:\\ORVANTA\\S3DM.EXE /Q\r\nSET TEMP=C:\\WINDOWS\\TEMP\r\n";
    if (pick(2) == 0) host.autoexec.tail = "\x1A" + std::string(pick(2) ? "C:\\ORVANTA\\S3DM.EXE /Q\r\n" : "");
    host.autoexec.attributes = attributes[pick(4)];

    for (BootFile* file : {&host.config, &host.autoexec}) {
        const std::string text = (file == &host.config ? config : autoexec) + file->tail;
        SetFileAttributesA(file->path, FILE_ATTRIBUTE_NORMAL);
        test_support::WriteFileBytes(file->path, text);
        SetFileAttributesA(file->path, file->attributes ? file->attributes : FILE_ATTRIBUTE_NORMAL);
    }
    // A protected backup, as another tool may leave it.
    if (pick(2) == 0) {
        test_support::WriteFileBytes(kConfigBak, "REM another tool's backup\r\n");
        SetFileAttributesA(kConfigBak, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    }

    std::string section = "device=corehub.vxd";
    section += '\0';
    for (int i = 0; section.size() < 5000; ++i) {
        host.foreignEnh.push_back("device=lifecycle" + std::to_string(i) + ".386");
        section += host.foreignEnh.back() + '\0';
    }
    WritePrivateProfileSectionA("386Enh", section.c_str(), WindowsFile("system.ini").c_str());
    for (const char* file : {"system.ini", "win.ini"})
        WritePrivateProfileStringA("Lifecycle Foreign", "Kept", "yes", WindowsFile(file).c_str());
    test_support::PutText(HKEY_LOCAL_MACHINE, kForeignKey, "Kept", "yes");
    return host;
}

// ---- The model ----------------------------------------------------------

enum class Cut { kNone, kBeforeTheCopy, kAfterTheCopy };

struct Model {
    Fields expected;  // what the configuration reads as
    bool installed = true;
    bool awaitingImport = false;  // an import failed: the registry lacks it, a snapshot holds it
    Cut cut = Cut::kNone;
    bool optionDue = false;  // an installation has run over the Japanese display line
    int lastCalls = 150;     // the counted calls of the last setup that ran through
};

// The snapshot folder as a setup finds it.
enum class Folder { kFine, kMissing, kReadOnly, kStaleLeftover, kReadOnlyLeftover, kReadOnlyScratch, kHeldLeftover };
const char* const kFolderNames[] = {
    "fine", "missing", "read-only", "stale leftover", "read-only leftover", "read-only scratch", "held leftover"};

// A snapshot from long ago: another configuration than the registry's.
const char kStaleSnapshot[] =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Quillon\\Orvanta\\Setup\\Station1]\r\n"
    "\"Station Name\"=\"Stale Desk\"\r\n\"Detected\"=hex:01\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Quillon\\Orvanta\\Setup\\Board4]\r\n\"Detected\"=hex:01\r\n"
    "\"Board Name\"=\"Stale Board\"\r\n";

std::string InFolder(const char* name) {
    return std::string(kFolder) + "\\" + name;
}

void EmptyFolder() {
    for (const char* name : {"~ORVANTA.REG", "~ORVANTA.$$$"}) {
        SetFileAttributesA(InFolder(name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(InFolder(name).c_str());
    }
}

enum class Event { kEdit, kSetup, kRemoval };

// What comes next, from a roll of 0 to 19. A setup cut off before its copy
// runs again as it was; once its files are in place the administrator may
// also work on or remove the product. After an import that failed the
// administrator sets the stations up again as often as the setup is run
// again.
Event NextEvent(const Model& model, int roll) {
    if (!model.installed || model.cut == Cut::kBeforeTheCopy) return Event::kSetup;
    if (roll >= 18) return Event::kRemoval;
    const int edits = model.cut == Cut::kAfterTheCopy ? 6 : model.awaitingImport ? 9 : 8;
    return roll < edits ? Event::kEdit : Event::kSetup;
}

struct Figures {
    int sequences = 0, steps = 0, cutOffs = 0, divergences = 0, foreignLost = 0;
};

class Lifecycle : public test_support::ResourceLibrarySuite {
protected:
    void SetUp() override {
        ResourceLibrarySuite::SetUp();
        ASSERT_TRUE(driver_.IsOpen()) << "the stand-in driver is not running";
        driver_.SetAtStation(false);
        ASSERT_TRUE(s3_.IsOpen()) << "the S3 support stand-in is not running";
    }

    // The configuration of a host without the product, as the control
    // center reads it.
    static Fields NoConfiguration() {
        KeptHost host;
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, cleanup_test::kProductKey);
        return ReadConfiguration();
    }

    void Sequence(unsigned seed, int steps) {
        std::mt19937 random(seed);
        auto chance = [&random](double p) { return std::bernoulli_distribution(p)(random); };
        KeptHost kept;
        test_support::FolderBackup folder(kFolder), installation(kInstallFolder), old(kOldFolder);
        test_support::RegistryBackup foreign(HKEY_LOCAL_MACHINE, kForeignKey);
        UseTestInstallation();
        CreateDirectoryA(kFolder, nullptr);
        EmptyFolder();
        CreateDirectoryA(kInstallFolder, nullptr);
        test_support::WriteFileBytes(std::string(kInstallFolder) + "\\notes.txt", "the administrator's notes\r\n");
        host_ = LayOutHost(random);
        seed_ = seed;
        ++figures_.sequences;

        Model model;
        model.expected = ReadConfiguration();
        Folder lastFolder = Folder::kFine;
        bool lastEditorAway = false;
        for (int step = 1; step <= steps; ++step) {
            ++figures_.steps;
            step_ = step;
            switch (NextEvent(model, std::uniform_int_distribution<int>(0, 19)(random))) {
            case Event::kEdit:
                Edit(model, random);
                break;
            case Event::kRemoval:
                Remove(model);
                break;
            case Event::kSetup:
                // The same setup as the one cut off, or a new one.
                if (model.cut == Cut::kNone) {
                    lastFolder = PickFolder(model, random);
                    lastEditorAway = chance(0.4);
                }
                Setup(model, lastFolder, lastEditorAway, chance(0.35), random);
                break;
            }
            Check(model);
            if (replay_) std::printf("seed %u, step %d: %s\n", seed, step, what_.c_str());
        }
    }

    Folder PickFolder(const Model& model, std::mt19937& random) {
        // What only the sequence itself would destroy: a snapshot still owed
        // its import stays where it is.
        const bool owed = model.awaitingImport;
        Folder folder = owed ? Folder::kFine : static_cast<Folder>(std::uniform_int_distribution<int>(0, 6)(random));
        if (owed && std::bernoulli_distribution(0.3)(random)) folder = Folder::kReadOnly;
        SetFileAttributesA(kFolder, FILE_ATTRIBUTE_NORMAL);
        if (folder == Folder::kMissing) {
            EmptyFolder();
            RemoveDirectoryA(kFolder);
            return folder;
        }
        CreateDirectoryA(kFolder, nullptr);
        if (folder == Folder::kStaleLeftover || folder == Folder::kReadOnlyLeftover ||
            folder == Folder::kHeldLeftover) {
            EmptyFolder();
            test_support::WriteFileBytes(InFolder("~ORVANTA.REG"), kStaleSnapshot);
            if (folder == Folder::kReadOnlyLeftover)
                SetFileAttributesA(InFolder("~ORVANTA.REG").c_str(), FILE_ATTRIBUTE_READONLY);
        }
        if (folder == Folder::kReadOnlyScratch) {
            test_support::WriteFileBytes(InFolder("~ORVANTA.$$$"), "left over\r\n");
            SetFileAttributesA(InFolder("~ORVANTA.$$$").c_str(), FILE_ATTRIBUTE_READONLY);
        }
        if (folder == Folder::kReadOnly) SetFileAttributesA(kFolder, FILE_ATTRIBUTE_READONLY);
        return folder;
    }

    // The administrator at the control center: the model loaded, some boards
    // and stations (detected or not) and the global settings changed, and
    // the whole written back or the global settings alone.
    void Edit(Model& model, std::mt19937& random) {
        auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
        what_ = "the administrator's change";
        SystemConfig config;
        const Fields before = AllFields(config);
        // After an import that failed the registry holds no configuration;
        // after a setup cut off behind its copy the import may or may not
        // have run. What the control center finds is what it works on.
        if (model.awaitingImport || model.cut == Cut::kAfterTheCopy) model.expected = before;
        for (BoardConfig& board : config.boards) {
            if (pick(3) != 0) continue;
            board.detected = pick(4) != 0;
            board.boardName = std::vector<std::string>{"PB-2000", "Front Board", "Zq Board", "PC-12"}[pick(4)];
            board.memoryLocation = std::vector<uint32_t>{0, 0xD0000, 0xE0000}[pick(3)];
            board.activePorts = 1 + pick(4);
        }
        for (StationConfig& station : config.stations) {
            if (pick(3) != 0) continue;
            // Whether a station is detected is the driver's to say: the
            // control center writes back only the detected ones.
            station.stationName = "Desk " + std::to_string(station.index + 1) + "-" + std::to_string(pick(100));
            station.defaultUser = "user" + std::to_string(pick(100));
            station.autoLaunch = pick(2);
            station.boardNumber = pick(4);
            station.serial1Enabled = pick(2);
            station.printerEnabled = pick(3);
        }
        config.shutdownEnabled = pick(2);
        config.shutdownDefault = pick(2);
        config.autoLaunchEnabled = pick(2);
        Fields after = model.expected;
        if (pick(4) != 0) {
            config.SaveAll();
            for (const BoardConfig& board : config.boards)
                if (board.detected)
                    for (const auto& [name, value] : BoardFields(board)) after[name] = value;
            for (const StationConfig& station : config.stations)
                if (station.detected)
                    for (const auto& [name, value] : StationFields(station)) after[name] = value;
        } else {
            config.SaveGlobals();
        }
        for (const char* name : {"Globals.shutdownEnabled", "Globals.shutdownDefault", "Globals.autoLaunchEnabled"})
            after[name] = AllFields(config).at(name);
        model.expected = after;
        // Set up again: newer than any snapshot.
        model.awaitingImport = false;
        model.cut = Cut::kNone;
    }

    void Remove(Model& model) {
        what_ = "a removal";
        const std::string output = RunSetup("uninstall").output;
        if (output.find("uninstall: done") == std::string::npos) Diverge("the removal did not run through:\n" + output);
        model.installed = false;
        model.expected = noConfiguration_;
        model.awaitingImport = false;
        model.cut = Cut::kNone;
    }

    void Setup(Model& model, Folder folder, bool editorAway, bool cutOff, std::mt19937& random) {
        const int stopAt = cutOff ? std::uniform_int_distribution<int>(1, model.lastCalls)(random) : 0;
        what_ = std::string(model.installed ? "a setup" : "a fresh installation") + " (snapshot folder " +
                kFolderNames[static_cast<int>(folder)] + (editorAway ? ", no registry editor" : "") +
                (stopAt ? ", cut off before call " + std::to_string(stopAt) : "") + ")";
        std::string output;
        {
            test_support::EditorAway away(editorAway);
            HANDLE held = INVALID_HANDLE_VALUE;
            if (folder == Folder::kHeldLeftover)
                held = CreateFileA(InFolder("~ORVANTA.REG").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            output = RunSetup("install --type 3 --snapshot \"" + std::string(kFolder) + "\" --old \"" + kOldFolder +
                                  "\" --dir \"" + kInstallFolder + "\"",
                              true, stopAt)
                         .output;
            if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        }
        const bool done = output.find("setup: done") != std::string::npos;
        if (!done && !stopAt) Diverge("the setup did not run through:\n" + output);
        if (done) {
            if (const size_t calls = output.rfind("calls: "); calls != std::string::npos)
                model.lastCalls = std::max(1, std::atoi(output.c_str() + calls + 7));
            // The registry editor cannot bring back what a snapshot holds; the
            // configuration stays in the registry when none could be taken.
            const bool snapshot =
                model.awaitingImport || (folder != Folder::kMissing && folder != Folder::kHeldLeftover);
            model.awaitingImport = editorAway && snapshot;
            model.installed = true;
            model.optionDue = true;
            model.cut = Cut::kNone;
            return;
        }
        ++figures_.cutOffs;
        const Cut cut = output.find("data move: ") != std::string::npos ? Cut::kAfterTheCopy : Cut::kBeforeTheCopy;
        // A second cut-off of the same setup may fall before the first one's.
        if (model.cut != Cut::kAfterTheCopy) model.cut = cut;
    }

    void Check(const Model& model) {
        // A data move cut off may have deleted any part of the configuration;
        // the setup that comes next must bring it all back, and the control
        // center is not started in between.
        if (model.cut != Cut::kBeforeTheCopy) {
            const Fields found = ReadConfiguration();
            const Fields& expected = model.awaitingImport ? noConfiguration_ : model.expected;
            const bool either =
                model.cut == Cut::kAfterTheCopy && (found == model.expected || found == noConfiguration_);
            if (found != expected && !either)
                Diverge("the configuration is not the model's:" +
                        Diverging(model.cut == Cut::kAfterTheCopy ? model.expected : expected, found));
        }
        CheckBootFiles(model);
        CheckForeign();
    }

    void CheckBootFiles(const Model& model) {
        // Between a cut-off rewrite's renames the boot file is away, whole
        // under the scratch name; the next run puts it back.
        if (model.cut != Cut::kNone && !test_support::FileExists(kConfigSys)) return;
        const std::string config = test_support::ReadFileBytes(kConfigSys);
        const std::string head = BeforeEndMark(config);
        int productLines = 0;
        bool japanese = false, option = false;
        for (const std::string& line : LinesOf(head)) {
            const std::string n = Normalized(line);
            if (n.rfind("device", 0) == 0 && n.find("\\orvanta.sys") != std::string::npos) ++productLines;
            if (n.rfind("device", 0) == 0 && n.find("\\jdisp.sys") != std::string::npos) {
                japanese = true;
                option = option || n.find("/hs=lc") != std::string::npos;
            }
        }
        const bool settled = model.cut == Cut::kNone;
        if (settled && productLines != (model.installed ? 1 : 0))
            Diverge("CONFIG.SYS loads the product's driver " + std::to_string(productLines) + " times before its mark" +
                    (model.installed ? "" : " after the removal") + ":\n" + config);
        if (!settled && productLines > 1) Diverge("CONFIG.SYS loads the product's driver twice:\n" + config);
        if (host_.japaneseDisplay && !japanese) Lost("CONFIG.SYS lost the Japanese display line before its mark");
        if (japanese && settled && model.optionDue && !option)
            Diverge("the Japanese display line has no /hs=lc before the mark:\n" + config);

        const std::string autoexec = test_support::ReadFileBytes(kAutoexecBat);
        if (settled && !model.installed && Normalized(BeforeEndMark(autoexec)).find("s3dm.exe") != std::string::npos)
            Diverge("AUTOEXEC.BAT still starts the display utility after the removal");
        char section[65536] = {};
        GetPrivateProfileSectionA("386Enh", section, sizeof section, WindowsFile("system.ini").c_str());
        std::set<std::string> entries;
        for (const char* entry = section; *entry; entry += strlen(entry) + 1) entries.insert(entry);
        if (settled && !model.installed && entries.count("device=corehub.vxd"))
            Diverge("[386Enh] still loads the product's driver after the removal");
        for (const std::string& entry : host_.foreignEnh)
            if (!entries.count(entry)) Lost("[386Enh] lost " + entry);

        for (const BootFile* file : {&host_.config, &host_.autoexec}) {
            const std::string text = file == &host_.config ? config : autoexec;
            const std::vector<std::string> lines = LinesOf(BeforeEndMark(text));
            for (const std::string& line : file->foreignLines)
                if (std::find(lines.begin(), lines.end(), line) == lines.end())
                    Lost(std::string(file->path) + " lost the line " + line);
            if (FromEndMark(text) != file->tail)
                Lost(std::string(file->path) + " changed what follows its end-of-file mark:\n" + text);
            if ((GetFileAttributesA(file->path) & kGuarded) != file->attributes)
                Lost(std::string(file->path) + " lost its attributes");
        }
    }

    void CheckForeign() {
        for (const char* file : {"system.ini", "win.ini"}) {
            char value[16] = {};
            GetPrivateProfileStringA("Lifecycle Foreign", "Kept", "", value, sizeof value, WindowsFile(file).c_str());
            if (std::string(value) != "yes") Lost(std::string(file) + " lost [Lifecycle Foreign]");
        }
        if (test_support::ReadText(HKEY_LOCAL_MACHINE, kForeignKey, "Kept") != "yes") Lost("the foreign key is gone");
        if (!test_support::FileExists(std::string(kInstallFolder) + "\\notes.txt"))
            Lost("the administrator's file in the installation folder is gone");
    }

    std::string Where() const {
        return "seed " + std::to_string(seed_) + " (ORVANTA_ROBUSTNESS_SEED=" + std::to_string(seed_) + "), step " +
               std::to_string(step_) + ", after " + what_ + ": ";
    }
    void Diverge(const std::string& what) {
        ++figures_.divergences;
        ADD_FAILURE() << Where() << what;
    }
    void Lost(const std::string& what) {
        ++figures_.foreignLost;
        ADD_FAILURE() << Where() << what;
    }

    test_support::CorehubClient driver_;
    test_support::S3Client s3_;
    Fields noConfiguration_;
    Host host_;
    Figures figures_;
    unsigned seed_ = 0;
    int step_ = 0;
    bool replay_ = false;
    std::string what_;
};

TEST_F(Lifecycle, NothingTheAdministratorSetIsLostAndNothingForeign) {
    noConfiguration_ = NoConfiguration();
    std::string form;
    const auto [first, last] = Seeds(6, 500, form);
    replay_ = form == "replay";
    for (uint64_t seed = first; seed <= last; ++seed) Sequence(static_cast<unsigned>(seed), 8);
    std::printf(
        "lifecycle campaign (%s, seeds %llu..%llu): %d sequences, %d steps, %d cut-offs; divergences from the model "
        "%d, foreign things lost %d\n",
        form.c_str(), static_cast<unsigned long long>(first), static_cast<unsigned long long>(last), figures_.sequences,
        figures_.steps, figures_.cutOffs, figures_.divergences, figures_.foreignLost);
    EXPECT_GT(figures_.cutOffs, 0);
}

}  // namespace
