// Where the station side writes: the product's setup branch, the message
// store, the port hardware keys and the configuration manager's list of
// present devices.
#pragma once

#include <string>

namespace stationctl {

inline const char kSetupKey[] = "Software\\Quillon\\Orvanta\\Setup";
inline const char kMessageStoreKey[] = "Software\\Quillon\\Orvanta\\Setup\\BlueScreenMessage";
// Under HKEY_LOCAL_MACHINE: one subkey App<n>Port<k> per registered port.
inline const char kPortHardwareRoot[] = "Enum\\Root\\Ternway";
// Under HKEY_DYN_DATA: one subkey per device the configuration manager found.
inline const char kConfigManagerEnum[] = "Config Manager\\Enum";

inline std::string BoardKey(int number) {
    return std::string(kSetupKey) + "\\Board" + std::to_string(number);
}

inline std::string StationKey(int number) {
    return std::string(kSetupKey) + "\\Station" + std::to_string(number);
}

}  // namespace stationctl
