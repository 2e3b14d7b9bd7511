// The stations' printers and ports as earlier versions of the products
// with station printer ports left them: printers on ports named after the
// stations, served by the old print monitor and its port monitor file,
// and the stations' port devices. Each step finds what is there and
// silently leaves out what is missing.
#pragma once

// Moves each enabled station printer from the port named after its
// station to the station's LPT port, in Win.ini, in the printer's key and
// in the device registration, and drops the old monitor's port key.
void MoveStationPrinters();
// Has the port monitor file of the earlier installation removed at the
// next start, through the [rename] section of Wininit.ini.
void RemoveOldPortMonitorFile();
// The old print monitor's registration, for every product.
void DeletePrintMonitor();
// The port devices of every station, at uninstallation.
void DeleteStationPortDevices();
