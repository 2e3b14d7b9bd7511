#include "station_check.h"

#include "driver_channel.h"
#include "resource_ids.h"
#include "resources.h"
#include "station_check_dialog.h"
#include "station_pick_dialog.h"

namespace {

struct StationDriver {
    uint16_t deviceId;
    UINT missingText;
    bool needed;  // whether the stations cannot work without it
};

const StationDriver kStationDrivers[] = {
    {0x3AE3, IDS_MISSING_COREHUB, true},         {0x3AE4, IDS_MISSING_PORTLANE, true},
    {0x3AE5, IDS_MISSING_TRELLMON, true},        {0x000D, IDS_MISSING_KEYRELAY, true},
    {0x011F, IDS_MISSING_STATION_DEVICE, false},
};

std::string StationText(UINT id, const std::string& stationName) {
    return AfxFormat(AfxLoadString(id).c_str(), stationName.c_str());
}

void NameStation(CStationCheckDlg& dialog, StationConfig& station) {
    dialog.stationName = station.stationName;
    BoardConfig* board = station.Board();
    dialog.boardName = board ? board->boardName : std::string();
}

void FinishTexts(CStationCheckDlg& dialog, std::string& report, bool showAll) {
    if (!report.empty() && !showAll) {
        dialog.caption = StationText(IDS_CHECK_TITLE_PROBLEMS, dialog.stationName);
    } else {
        report += AfxLoadString(IDS_CHECK_ALL_WELL);
        dialog.caption = StationText(IDS_CHECK_TITLE_WELL, dialog.stationName);
    }
    dialog.report = report;
}

// Copies one result into the dialog and names it in the report when it
// failed (or always, with showAll).
void CheckField(uint32_t value, int& field, UINT failedText, const std::string& stationName, std::string& report,
                bool showAll) {
    field = static_cast<int>(value);
    if (value == 0 || showAll) report += StationText(failedText, stationName);
}

}  // namespace

bool IsDevicePresent(uint16_t deviceId) {
    DeviceBlock block;
    return DriverChannel::FindLoadedDevice(deviceId, block);
}

bool CheckStationDrivers(std::string& report, bool showAll) {
    bool loaded = true;
    for (const StationDriver& driver : kStationDrivers) {
        if (IsDevicePresent(driver.deviceId) && !showAll) continue;
        report += AfxLoadString(driver.missingText);
        if (driver.needed) loaded = false;
    }
    return loaded;
}

void StationCheckCommand(SystemConfig& model, CWnd* frame) {
    std::string report;
    model.LoadAll();
    bool showAll = model.debugTestMessages != 0;
    int index = model.FirstDetectedStation();
    if (model.HasMultipleStations()) {
        CStationPickDlg picker(model, CStationPickDlg::kAny, frame);
        if (picker.DoModal() != IDOK) return;
        index = picker.picked;
    }
    if (index < 0 || index >= SystemConfig::kStationCount) return;

    if (model.StationBoardHasModelMarker(index)) {
        CMarkedStationCheckDlg dialog(frame);
        report.clear();
        model.LoadAll();
        StationConfig& station = model.stations[index];
        NameStation(dialog, station);
        dialog.driversLoaded = CheckStationDrivers(report, showAll) ? 1 : 0;
        FinishTexts(dialog, report, showAll);
        dialog.DoModal();
        return;
    }
    // Each pass reads the station afresh: the reset may have repaired it.
    for (;;) {
        CStationCheckDlg dialog(frame);
        report.clear();
        model.LoadAll();
        StationConfig& station = model.stations[index];
        dialog.ioHandle = station.ioHandle;
        NameStation(dialog, station);
        dialog.driversLoaded = CheckStationDrivers(report, showAll) ? 1 : 0;
        CheckField(station.baseInit, dialog.baseInit, IDS_BASE_INIT_FAILED, station.stationName, report, showAll);
        CheckField(station.keyboardInit, dialog.keyboardInit, IDS_KEYBOARD_INIT_FAILED, station.stationName, report,
                   showAll);
        CheckField(station.mouseInit, dialog.mouseInit, IDS_MOUSE_INIT_FAILED, station.stationName, report, showAll);
        CheckField(station.launched, dialog.launched, IDS_NOT_LAUNCHED, station.stationName, report, showAll);
        FinishTexts(dialog, report, showAll);
        if (dialog.DoModal() != IDOK) return;
    }
}
