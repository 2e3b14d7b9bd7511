// The product's registrations with the device manager: its enumeration
// keys, its PCI display and multimedia instances with their driver keys,
// its media class entries, its device class and its copied INF files, all
// removed at uninstallation so Windows no longer looks for its drivers;
// and the display adapter that needs the host reinitialised after setup.
#pragma once

void RemoveEnumerationKeys();
void RemovePciEntries();
void RemoveMediaEntries();
void RemoveDeviceClass();
void RemoveCopiedInfFiles();
// Sets "ReinitHost" when an affected display adapter is present.
void CheckDisplayAdapter();
