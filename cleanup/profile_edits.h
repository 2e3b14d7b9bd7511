// The product's entries in the initialization files: Windows made to start
// its graphical shell, the product's drivers taken out of [386Enh] with the
// standard ones put back, and the stations' own display keys removed.
#pragma once

// MSDOS.SYS [Options]: BootGUI on when it or LoadTop was switched off.
void EnableGraphicalBoot();
// Removes the product's virtual device drivers from System.ini [386Enh].
void RemoveProductDrivers();
// The standard keyboard driver, and with the display the standard display
// drivers.
void RestoreStandardDrivers(bool display);
// The per-station boot keys of System.ini and device keys of Win.ini.
void DeletePerStationKeys();
