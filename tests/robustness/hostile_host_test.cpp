// Cleanup.dll on hosts that years of other tools have left rough: boot files
// with lines longer than the library's pieces, without a last line break,
// with NUL bytes, a megabyte long or with text behind DOS's end-of-file
// mark; profile files with sections and keys twice; power records of every
// short size; printers on odd ports; device keys without their values. Each
// case is drawn from a seed. An installation and a removal run through
// setup.exe; nothing may crash, everything that is not the product's must
// still be there afterwards, doubled entries too, and the removal must leave
// no line that loads the product's driver.
#include <algorithm>
#include <cstdio>
#include <random>
#include <set>

#include "campaign.h"
#include "cleanup_fixture.h"

namespace {

using namespace cleanup_test;
using namespace robustness;

const char kForeignDevices[] = "Enum\\Root\\HostileTest";
const char kForeignPci[] = "Enum\\Pci\\VEN_1234&DEV_5678&SUBSYS_00000000";

// DOS's end-of-file mark (Ctrl-Z): DOS reads a boot file no further.
const char kEndMark = '\x1A';

std::string Letters(std::mt19937& random, size_t length) {
    std::uniform_int_distribution<int> letter('A', 'Z');
    std::string text;
    for (size_t i = 0; i < length; ++i) text += static_cast<char>(letter(random));
    return text;
}

// The lines of a text as they stand, line breaks kept; a last piece without
// one is a line too.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// A boot file of foreign lines only, rough in one of several ways.
std::string RoughBootFile(std::mt19937& random, const char* kind) {
    std::string text = std::string("REM ") + kind + " of the hostile host\r\n";
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0:  // lines longer than the pieces the library reads
        for (int i = 0; i < 3; ++i)
            text += "SET LONG=" + Letters(random, std::uniform_int_distribution<size_t>(500, 2000)(random)) + "\r\n";
        break;
    case 1:  // NUL bytes inside lines
        text += std::string("SET NUL=A\0B\0C", 13) + "\r\n" + std::string(1, '\0') + "\r\n";
        break;
    case 2:  // a megabyte of lines
        while (text.size() < (1u << 20)) text += "REM " + Letters(random, 70) + "\r\n";
        break;
    default:  // bare line feeds
        text += "SET A=1\nSET B=2\n";
        break;
    }
    // Half the files end without a line break.
    if (std::uniform_int_distribution<int>(0, 1)(random)) text += "SET LAST=" + Letters(random, 8);
    // Half carry DOS's end-of-file mark (Ctrl-Z), as COPY and old editors
    // leave it, with what an editor left behind it: text that DOS never
    // reads, an old driver line among it.
    if (std::uniform_int_distribution<int>(0, 1)(random))
        text += std::string(1, kEndMark) + "DEVICE=C:\\WINDOWS\\ORVANTA.SYS\r\nREM " + Letters(random, 20) + "\r\n";
    return text;
}

// The start of a line for a message, without its line break.
std::string Shown(const std::string& line) {
    return line.substr(0, std::min<size_t>(60, line.find_last_not_of("\r\n") + 1));
}

// A profile file whose sections and keys stand twice.
std::string DoubledProfile(const std::string& original) {
    return original +
           "\r\n[386Enh]\r\nkeyboard=*vkd\r\nHostile=1\r\nHostile=2\r\n[Hostile]\r\nA=1\r\n[Hostile]\r\nA=2\r\n";
}

// The doubled entries above, none of them the product's, by the section
// (in lower case) they stand in. The profile functions show only the first
// of a doubled key or section, so they are looked for in the file's text.
const std::pair<const char*, const char*> kDoubledEntries[] = {
    {"386enh", "Hostile=1"}, {"386enh", "Hostile=2"}, {"hostile", "A=1"}, {"hostile", "A=2"}};

// Every entry of a profile file as its text holds it, doubled ones too, as
// "section|entry" with the section in lower case.
std::multiset<std::string> ProfileFileEntries(const std::string& file) {
    std::multiset<std::string> entries;
    std::string section;
    for (std::string line : LinesOf(test_support::ReadFileBytes(file))) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line.front() == '[' && line.find(']') != std::string::npos) {
            section = line.substr(1, line.find(']') - 1);
            CharLowerBuffA(section.data(), static_cast<DWORD>(section.size()));
        } else if (!line.empty()) {
            entries.insert(section + "|" + line);
        }
    }
    return entries;
}

// The hostile printers and device keys, which no step owns.
HostState ForeignEntries() {
    HostState entries;
    for (const std::string& key :
         {std::string(kPrintersKey) + "\\Hostile Empty", std::string(kPrintersKey) + "\\Hostile Bare",
          std::string(kPrintersKey) + "\\Hostile Long", std::string(kPrintersKey) + "\\Hostile Commas",
          std::string(kForeignDevices), std::string(kForeignPci)})
        entries[key] = test_support::DumpKeyTree(HKEY_LOCAL_MACHINE, key);
    return entries;
}

struct Figures {
    int cases = 0, crashes = 0, filesLost = 0, linesLost = 0, sectionsLost = 0, foreignDeleted = 0, driverLinesLeft = 0,
        doubledLost = 0, printerPortsChanged = 0;
};

// Every foreign line of a boot file is still there as it stood, and all that
// follows its end-of-file mark; after the removal no line that DOS reads
// loads the product's driver.
void CheckBootFile(const std::string& where, const char* boot, const std::string& original, bool removed,
                   Figures& figures) {
    if (!test_support::FileExists(boot)) {
        ++figures.filesLost;
        ADD_FAILURE() << where << ": " << boot << " is gone";
        return;
    }
    const std::string text = test_support::ReadFileBytes(boot);
    std::multiset<std::string> now;
    for (const std::string& line : LinesOf(BeforeEndMark(text))) now.insert(line);
    for (const std::string& line : LinesOf(BeforeEndMark(original))) {
        const bool last = line.back() != '\n';
        if (now.count(line) || (last && now.count(line + "\r\n"))) continue;
        ++figures.linesLost;
        ADD_FAILURE() << where << ": " << boot << " lost the line \"" << Shown(line) << "\"";
    }
    if (FromEndMark(text) != FromEndMark(original)) {
        ++figures.linesLost;
        ADD_FAILURE() << where << ": " << boot << " changed what follows its end-of-file mark";
    }
    if (!removed) return;
    for (const std::string& line : LinesOf(BeforeEndMark(text))) {
        if (Normalized(line).find("orvanta.sys") == std::string::npos) continue;
        ++figures.driverLinesLeft;
        ADD_FAILURE() << where << ": " << boot << " still loads the product's driver: \"" << Shown(line) << "\"";
    }
}

class HostileHosts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(driver_.IsOpen()) << "the stand-in driver is not running";
        driver_.SetAtStation(false);
        ASSERT_TRUE(s3_.IsOpen()) << "the S3 support stand-in is not running";
    }

    void Case(unsigned seed, Figures& figures) {
        std::mt19937 random(seed);
        const std::string where = "seed " + std::to_string(seed);
        KeptHost host;
        test_support::FolderBackup installation(kInstallFolder);
        test_support::RegistryBackup foreignDevices(HKEY_LOCAL_MACHINE, kForeignDevices);
        test_support::RegistryBackup foreignPci(HKEY_LOCAL_MACHINE, kForeignPci);
        ++figures.cases;

        UseTestInstallation();
        const std::string config = RoughBootFile(random, "CONFIG.SYS");
        const std::string autoexec = RoughBootFile(random, "AUTOEXEC.BAT");
        test_support::WriteFileBytes(kConfigSys, config);
        test_support::WriteFileBytes(kAutoexecBat, autoexec);
        for (const char* name : {"system.ini", "win.ini"})
            test_support::WriteFileBytes(WindowsFile(name),
                                         DoubledProfile(test_support::ReadFileBytes(WindowsFile(name))));
        // Printers on odd ports, in Win.ini and in the registry.
        const std::vector<std::pair<std::string, std::string>> printers = {
            {"Hostile Empty", ""},
            {"Hostile Bare", "HPPCL5MS"},
            {"Hostile Long", "HPPCL5MS," + Letters(random, 600)},
            {"Hostile Commas", ",,,,"}};
        for (const auto& [name, value] : printers) {
            WriteProfileStringA("Devices", name.c_str(), value.c_str());
            WriteProfileStringA("PrinterPorts", name.c_str(), value.c_str());
            test_support::PutNumber(HKEY_LOCAL_MACHINE, std::string(kPrintersKey) + "\\" + name, "Port", 7);
        }
        // Device keys without the values the device steps read.
        for (const char* instance : {"0000", "0001"}) {
            test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kForeignDevices) + "\\" + instance, "Kept", "x");
            test_support::PutText(HKEY_LOCAL_MACHINE, std::string(kForeignPci) + "\\" + instance, "Kept", "x");
        }
        test_support::PutNumber(HKEY_LOCAL_MACHINE, std::string(kForeignPci) + "\\0001", "Driver", 5);
        // The current power scheme's records cut short at any length.
        const std::string shortRecord(std::uniform_int_distribution<size_t>(0, 40)(random), '\x11');
        const std::string current = test_support::ReadText(HKEY_CURRENT_USER, kUserPowerKey, "CurrentPowerPolicy");
        test_support::PutValue(HKEY_CURRENT_USER, std::string(kUserPowerKey) + "\\PowerPolicies\\" + current,
                               "Policies", REG_BINARY, shortRecord);
        const HostState foreignBefore = ForeignEntries();
        const std::set<std::string> sectionsBefore[] = {ProfileSections(WindowsFile("system.ini")),
                                                        ProfileSections(WindowsFile("win.ini"))};

        const int code = std::vector<int>{1, 3, 4}[std::uniform_int_distribution<int>(0, 2)(random)];
        for (const std::string& hook : {DataMoveArguments(code), SetupCompleteArguments(code), std::string("uninit")}) {
            const HookRun run = RunHook(hook);
            if (run.exitCode != 0) {
                ++figures.crashes;
                ADD_FAILURE() << where << ", " << hook << ": setup ended with " << run.exitCode << "\n" << run.output;
                continue;
            }
            // The removal takes the driver line the installation added.
            const bool removed = hook == "uninit";
            CheckBootFile(where + ", " + hook, kConfigSys, config, removed, figures);
            CheckBootFile(where + ", " + hook, kAutoexecBat, autoexec, false, figures);
        }
        const std::string profiles[] = {WindowsFile("system.ini"), WindowsFile("win.ini")};
        for (int i = 0; i < 2; ++i) {
            const std::set<std::string> now = ProfileSections(profiles[i]);
            for (const std::string& section : sectionsBefore[i]) {
                if (now.count(section)) continue;
                ++figures.sectionsLost;
                ADD_FAILURE() << where << ": " << profiles[i] << " lost [" << section << "]";
            }
        }
        for (int i = 0; i < 2; ++i) {
            const std::multiset<std::string> now = ProfileFileEntries(profiles[i]);
            for (const auto& [section, entry] : kDoubledEntries) {
                if (now.count(std::string(section) + "|" + entry)) continue;
                ++figures.doubledLost;
                ADD_FAILURE() << where << ": " << profiles[i] << " lost the doubled entry " << entry << " of ["
                              << section << "]";
            }
        }
        for (const char* section : {"Devices", "PrinterPorts"}) {
            for (const auto& [name, value] : printers) {
                char now[1024] = {};
                GetProfileStringA(section, name.c_str(), "(none)", now, sizeof now);
                if (value == now) continue;
                int& changed = section == std::string("Devices") ? figures.foreignDeleted : figures.printerPortsChanged;
                ++changed;
                ADD_FAILURE() << where << ": the printer " << name << " is now \"" << now << "\" in [" << section
                              << "]";
            }
        }
        for (const std::string& place : Differences(foreignBefore, ForeignEntries())) {
            ++figures.foreignDeleted;
            ADD_FAILURE() << where << ": changed " << place;
        }
        // What this process still holds of Win.ini goes to disk before the
        // keeper puts the host's own file back.
        WriteProfileStringA(nullptr, nullptr, nullptr);
    }

    test_support::CorehubClient driver_;
    test_support::S3Client s3_;
};

TEST_F(HostileHosts, NothingCrashesAndNothingForeignIsLost) {
    const unsigned first = 1, last = LongForm() ? 200 : 6;
    Figures figures;
    for (unsigned seed = first; seed <= last; ++seed) Case(seed, figures);
    std::printf(
        "hostile hosts campaign (%s, seeds %u..%u): %d cases, crashes %d, files lost %d, lines lost %d, sections lost "
        "%d, foreign entries changed %d, driver lines left %d, doubled entries lost %d, printer ports changed %d\n",
        LongForm() ? "long" : "short", first, last, figures.cases, figures.crashes, figures.filesLost,
        figures.linesLost, figures.sectionsLost, figures.foreignDeleted, figures.driverLinesLeft, figures.doubledLost,
        figures.printerPortsChanged);
}

}  // namespace
