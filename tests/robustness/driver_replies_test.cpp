// The control center's driver enumerations against a driver whose answers
// are bent: a short, a long or a zero byte count, or random bytes in the
// whole record. The running programs tree, the about box's driver page, the
// station check and the stop command run in this process for every code
// they use, each under a watchdog.
//
// The channel takes a request's success and the record in its buffer, not
// the count (a Windows 95/98 driver need not report one): whatever the count
// or the bytes, every dialog must come up and end as worked, and what it
// shows must stay within the records' fields. The short form tries every
// code in every mode and a few random records; ORVANTA_ROBUSTNESS=long
// tries a few hundred random records.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "about_dialog.h"
#include "campaign.h"
#include "modal_run.h"
#include "model_fixture.h"
#include "program_driver.h"
#include "resource_ids.h"
#include "resources.h"
#include "running_programs_dialog.h"
#include "seams.h"
#include "station_check.h"
#include "worker_thread.h"

namespace {

using robustness::LongForm;

const unsigned kSeed = 1;
const uint32_t kEveryCode = 0;

int RandomCasesPerCode() {
    return LongForm() ? 20 : 1;
}

struct Figures {
    int cases = 0;
    int crashes = 0;       // dialogs that did not come up or did not end as worked
    int readsPast = 0;     // texts shown past their record's field
    int wrongStation = 0;  // stops sent for another station than the one stopped
};
Figures figures;

// The one line of figures once every case has run.
class FiguresLine : public ::testing::Environment {
public:
    void TearDown() override {
        // A command that hangs ends the program at once (see RunCase): a run
        // that gets here had none.
        std::printf(
            "driver replies campaign (%s, seed %u): %d cases, crashes %d, reads past a record %d, hangs 0, "
            "wrong-station actions %d\n",
            LongForm() ? "long" : "short", kSeed, figures.cases, figures.crashes, figures.readsPast,
            figures.wrongStation);
    }
};
::testing::Environment* const figuresLine = ::testing::AddGlobalTestEnvironment(new FiguresLine);

const char* ModeName(uint32_t mode) {
    switch (mode) {
    case COREHUB_REPLY_SHORT:
        return "short";
    case COREHUB_REPLY_LONG:
        return "long";
    case COREHUB_REPLY_ZERO:
        return "zero";
    default:
        return "random";
    }
}

// What one run of a dialog showed, one entry per text; empty when the
// dialog did not come up.
using Shown = std::vector<std::string>;

class DriverReplies : public DriverModelTest {
protected:
    // One run of the enumerations as the operator would see them.
    struct Scene {
        std::function<void()> prepare;
        std::function<bool(Shown&)> run;  // false: the dialog did not run as worked
        std::vector<uint32_t> codes;      // every code the run asks; 0 bends them all at once
        std::function<bool(const Shown&)> withinFields;
        int Figures::*counted = &Figures::readsPast;  // where a case that is not within counts
    };

    // Every code in every mode whose count is bent, then the random records.
    void Campaign(const Scene& scene) {
        for (uint32_t code : scene.codes) {
            for (uint32_t mode : {COREHUB_REPLY_SHORT, COREHUB_REPLY_LONG, COREHUB_REPLY_ZERO})
                Check(scene, code, mode, 0);
            for (int i = 0; i < RandomCasesPerCode(); ++i)
                Check(scene, code, COREHUB_REPLY_RANDOM, kSeed * 7919u + code * 31u + static_cast<uint32_t>(i));
        }
    }

    void Check(const Scene& scene, uint32_t code, uint32_t mode, uint32_t seed) {
        Shown shown;
        if (!RunCase(scene, code, mode, seed, shown)) return;
        const bool within = scene.withinFields(shown);
        if (!within) ++(figures.*scene.counted);
        EXPECT_TRUE(within) << Describe(code, mode, seed) << " shows text past a field";
    }

    bool RunCase(const Scene& scene, uint32_t code, uint32_t mode, uint32_t seed, Shown& shown) {
        ++figures.cases;
        driver_.Reset();
        scene.prepare();
        EXPECT_TRUE(driver_.SetReplyMode(code, mode, seed));
        bool ran = false;
        {
            // A command that hangs would hang the control center for good.
            test_support::Watchdog watchdog(30000, "driver replies campaign: " + Describe(code, mode, seed));
            ran = scene.run(shown);
        }
        driver_.Reset();
        if (!ran) ++figures.crashes;
        EXPECT_TRUE(ran) << Describe(code, mode, seed) << ": the dialog did not run as worked";
        return ran;
    }

    static std::string Describe(uint32_t code, uint32_t mode, uint32_t seed) {
        char text[96];
        std::snprintf(text, sizeof text, "code 0x%06X, %s answer (seed %u)", static_cast<unsigned>(code),
                      ModeName(mode), static_cast<unsigned>(seed));
        return text;
    }

    // Two launched stations, three tasks and three programs: every list has
    // a next request.
    void PrepareLaunches() {
        ASSERT_TRUE(driver_.AddLaunch("Front Desk", "mwclerk", 0));
        ASSERT_TRUE(driver_.AddLaunch("Reading Room", "MWReader", 1));
        ASSERT_TRUE(driver_.StartProgram(0, "Tool", "c:\\tool\\run.exe /s"));
        ASSERT_TRUE(driver_.StartProgram(0, "Editor", "c:\\tool\\edit.exe"));
        ASSERT_TRUE(driver_.StartProgram(1, "Tool", "c:\\tool\\run.exe"));
    }

    // The tree's items, a station's programs indented under it.
    static void ReadTree(HWND tree, HTREEITEM first, const std::string& indent, Shown& shown) {
        for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
            char text[1024] = {};
            TVITEMA read = {};
            read.mask = TVIF_TEXT;
            read.hItem = item;
            read.pszText = text;
            read.cchTextMax = sizeof text;
            TreeView_GetItem(tree, &read);
            shown.push_back(indent + text);
            ReadTree(tree, TreeView_GetChild(tree, item), indent + "  ", shown);
        }
    }

    static bool RunTree(Shown& shown) {
        CRunningProgramsDlg dialog;
        bool worked = false;
        INT_PTR result = test_support::RunAndClose(dialog, [&](HWND window) {
            HWND tree = GetDlgItem(window, IDC_PROGRAM_TREE);
            ReadTree(tree, TreeView_GetRoot(tree), "", shown);
            worked = true;
        });
        return worked && result == IDOK;
    }

    // A station is "name : user" of two 32-byte fields; a program is its
    // file name and its description or command, each within the 128-byte
    // command field.
    static bool TreeWithinFields(const Shown& shown) {
        for (const std::string& line : shown) {
            bool program = line.rfind("  ", 0) == 0;
            size_t limit = program ? 2 + 128 + 3 + 128 : 32 + 3 + 32;
            if (line.size() > limit) return false;
        }
        return true;
    }

    static bool RunAbout(Shown& shown) {
        CAboutDlg about;
        bool worked = false;
        INT_PTR result = test_support::RunAndClose(about, [&](HWND window) {
            SendDlgItemMessageA(window, IDC_ABOUT_TOGGLE, BM_CLICK, 0, 0);
            shown.push_back(test_support::ItemText(window, IDC_ABOUT_TEXT));
            worked = true;
        });
        return worked && result == IDOK;
    }

    // One line per station driver, its loaded version made of two numbers.
    static bool DriverPageWithinFields(const Shown& shown) {
        if (shown.size() != 1) return false;
        const std::string& page = shown[0];
        size_t start = 0;
        for (const char* file : {"Corehub.vxd", "Portlane.vxd", "Trellmon.vxd", "Keyrelay.vxd"}) {
            if (page.compare(start, std::strlen(file), file) != 0) return false;
            size_t end = page.find("\r\n", start);
            if (end == std::string::npos || end - start > 128) return false;
            start = end + 2;
        }
        return start == page.size();
    }

    // Station 1 on board 1 in good order; OK on the first check sends the
    // station request, the second check is closed.
    static void PrepareStation() {
        PutString(BoardKey(1), "Board Name", "Station Adapter");
        std::string key = StationKey(1);
        PutByte(key, "Detected", 1);
        PutByte(key, "Board Number", 0);
        PutString(key, "Station Name", "Front Desk");
        for (const char* field : {"Zq Base Init", "Zq Keyboard Init", "Zq Mouse Init", "Launched"})
            PutByte(key, field, 1);
    }

    static bool RunCheck(Shown& shown) {
        int runs = 0;
        AfxSetModalOperator([&](HWND dialog) {
            shown.push_back(test_support::WindowText(dialog));
            shown.push_back(test_support::ItemText(dialog, IDC_CHECK_REPORT));
            shown.push_back(IsDlgButtonChecked(dialog, IDC_CHECK_DRIVERS) == BST_CHECKED ? "drivers" : "no drivers");
            SendDlgItemMessageA(dialog, runs++ == 0 ? IDOK : IDCANCEL, BM_CLICK, 0, 0);
        });
        SystemConfig model;
        StationCheckCommand(model, nullptr);
        AfxSetModalOperator(nullptr);
        return runs == 2;
    }

    // The report is made of the check's own texts only.
    static bool ReportWithinFields(const Shown& shown) {
        std::vector<std::string> pieces;
        for (UINT id : {IDS_MISSING_COREHUB, IDS_MISSING_PORTLANE, IDS_MISSING_TRELLMON, IDS_MISSING_KEYRELAY,
                        IDS_MISSING_STATION_DEVICE, IDS_CHECK_ALL_WELL})
            pieces.push_back(AfxLoadString(id));
        for (size_t i = 1; i < shown.size(); i += 3) {
            std::string report = shown[i];
            for (const std::string& piece : pieces)
                if (report.rfind(piece, 0) == 0) report.erase(0, piece.size());
            if (!report.empty()) return false;
        }
        return true;
    }

    // Two launched stations whose names differ only in case.
    void PrepareTwins() {
        for (int number : {1, 2}) {
            std::string key = StationKey(number);
            PutByte(key, "Detected", 1);
            PutByte(key, "Board Number", 0);
            PutByte(key, "Launched", 1);
            PutString(key, "Station Name", number == 1 ? "Desk" : "DESK");
            ASSERT_TRUE(driver_.AddLaunch(number == 1 ? "Desk" : "DESK", "mwclerk", number - 1));
        }
    }

    // Stops station 2 as the stop command does. Shown: the station index of
    // each stop request the driver received.
    bool RunStop(Shown& shown) {
        SystemConfig model;
        model.stations[1].Stop();
        for (const auto& request : driver_.Requests()) {
            if (request.code != COREHUB_STOP_STATION || request.input.size() < 68) continue;
            int32_t index = 0;
            std::memcpy(&index, request.input.data() + 64, sizeof index);
            shown.push_back(std::to_string(index));
        }
        return true;
    }

    // Only the station stopped is asked to stop.
    static bool StopsForTheStationOnly(const Shown& shown) {
        for (const std::string& index : shown) {
            if (index != "1") return false;
        }
        return true;
    }
};

TEST_F(DriverReplies, TheStopEndsAndStopsOnlyItsOwnStation) {
    Campaign({[this] { PrepareTwins(); },
              [this](Shown& shown) { return RunStop(shown); },
              {kEveryCode, COREHUB_FIRST_LAUNCH, COREHUB_NEXT_LAUNCH, COREHUB_STOP_STATION},
              StopsForTheStationOnly,
              &Figures::wrongStation});
}

TEST_F(DriverReplies, TheRunningProgramsTreeStaysWithinItsRecords) {
    Campaign({[this] { PrepareLaunches(); },
              RunTree,
              {kEveryCode, COREHUB_FIRST_LAUNCH, COREHUB_NEXT_LAUNCH, COREHUB_FIRST_TASK, COREHUB_NEXT_TASK,
               COREHUB_FIRST_PROGRAM, COREHUB_NEXT_PROGRAM},
              TreeWithinFields});
}

TEST_F(DriverReplies, TheAboutBoxStaysWithinItsDeviceBlocks) {
    Campaign({[] {}, RunAbout, {kEveryCode, COREHUB_FIRST_DEVICE, COREHUB_NEXT_DEVICE}, DriverPageWithinFields});
}

TEST_F(DriverReplies, TheStationCheckStaysWithinItsDeviceBlocksAndSurvivesItsRequest) {
    Campaign({PrepareStation,
              RunCheck,
              {kEveryCode, COREHUB_FIRST_DEVICE, COREHUB_NEXT_DEVICE, PORTLANE_STATION_REQUEST},
              ReportWithinFields});
}

}  // namespace
