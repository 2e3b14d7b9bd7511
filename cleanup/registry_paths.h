// Where the product keeps its settings under HKEY_LOCAL_MACHINE.
#pragma once

inline constexpr char kProductKey[] = "Software\\Quillon\\Orvanta";
inline constexpr char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";
