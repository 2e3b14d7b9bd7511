// Registering a station's serial and printer ports with the operating
// system: the hardware key below "Enum\Root\Ternway", the driver key in the
// "Ports" device class, and the port list of win.ini. Ports are numbered 1
// (serial 1), 2 (serial 2) and 3 (printer); stations from 1. Failures are
// silent. Key templates come from the resource library (strings 3204, 3205).
#pragma once

#include <string>

std::string PortHardwareKey(int stationNumber, int port);
std::string PortDriverKey(int stationNumber, int port);

void RegisterSerialPort(int stationNumber, int port, const std::string& portName, const std::string& friendlyName);
void RegisterPrinterPort(int stationNumber, int port, const std::string& portName, const std::string& friendlyName);
void UnregisterPort(int stationNumber, int port);

void AddPortListEntry(const std::string& portName);
void RemovePortListEntry(const std::string& portName);
// Makes the system write its cached win.ini to disk.
void FlushPortList();
