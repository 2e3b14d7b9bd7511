// Where the product keeps its settings under HKEY_LOCAL_MACHINE.
#pragma once

inline constexpr char kProductKey[] = "Software\\Quillon\\Orvanta";
inline constexpr char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";

// The product key's values that every installation writes again itself:
// the new installation's win over the old.
inline constexpr const char* kInstallationValues[] = {"Orvanta Interface", "Install Directory", "Install Language",
                                                      "Install Menu",      "Product Name",      "Product Type"};
// The administrator's settings among them, which exist nowhere else.
inline constexpr const char* kAdministratorValues[] = {"AutoLaunch Enabled", "Launch Delay",     "RefreshRate",
                                                       "Shutdown Default",   "Shutdown Enabled", "Station Display",
                                                       "Station Mode"};
