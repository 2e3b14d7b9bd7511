// The product that the setup engine installs or the uninstaller removes:
// its type code, kept for the life of the process, and the name derived
// from it.
#pragma once

#include <string>

// 0 until a setup hook records a code or the uninstaller reads it back.
extern int giVersion;

// The product name of the last recorded code; empty during uninstall.
const std::string& ProductName();
// The table's name for a code: "[Unknown]:" for codes outside it.
std::string ProductNameFor(int code);

// Keeps the code and its name, and writes both into the product key when
// the key exists (it is never created here).
void RecordProduct(int code);
// Reads "Product Type" back from the product key (0 when it is missing) and
// empties the product name.
void ReadProductType();

// Products whose earlier versions installed station printer ports and the
// print monitor.
bool NeedsPortCleanup();
// Products sold under the Zelto brand rather than Orvanta.
bool IsZeltoBrand();
