// Opening the product's web and mail addresses in the programs the system
// has registered for them; the support dialog and the main window's web
// page command share it.
#pragma once

#include <windows.h>

enum class AddressKind { kWeb, kMail };

// Whether the system has a program for the kind of address. When it has
// none and an address string is named, says that the address cannot be
// opened.
bool HasHandler(AddressKind kind, UINT addressId);
// Asks the shell to open the address string; says so when it cannot.
void OpenAddress(UINT addressId);
