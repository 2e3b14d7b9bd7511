// The station sheet: one page per detected station on a marked board, with
// the station's name, default user, automatic launch and its two serial
// ports and printer port. OK and Apply write the station and register or
// remove its ports.
#pragma once

#include <string>

#include "property_sheet.h"
#include "system_config.h"

class CStationSheet : public CPropertySheet {
public:
    using CPropertySheet::CPropertySheet;
};

class CStationPage : public CPropertyPage {
public:
    CStationPage(SystemConfig& model, int stationIndex);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    void OnOK() override;

    int autoLaunchCheck;
    std::string defaultUserText;
    std::string stationNameText;
    int printerCheck;
    std::string printerNameText;
    std::string printerPortText;
    int serial1Check;
    std::string serial1NameText;
    std::string serial1PortText;
    int serial2Check;
    std::string serial2NameText;
    std::string serial2PortText;
    StationConfig& station;
    int printerMode;  // 1 for the printer's second mode

protected:
    // A port's check box was clicked (port 1 serial 1, 2 serial 2, 3 printer).
    void TogglePort(int port);
    void OnSerial1();
    void OnSerial2();
    void OnPrinter();
    void OnSerial1Settings();
    void OnSerial2Settings();
    void OnPrinterMode();
    void OnChange();
    // The system's line settings dialog for a serial port.
    void EditLineSettings(const std::string& portName);
    // Whether the configuration manager lists the station's serial port.
    bool SerialPortPresent(int port) const;
    // What OK tells the administrator about a restart, if anything.
    bool PortsSwitched() const;
    bool PortNamesChanged() const;
    void ForgetRenamedPorts();

    SystemConfig& model_;

    DECLARE_MESSAGE_MAP()
};
