// What setup knows of the product it installs: the product types, the
// files it copies and the values it records under the product key.
#pragma once

#include <string>
#include <vector>

namespace setup {

inline constexpr const char kProductKey[] = "Software\\Quillon\\Orvanta";
inline constexpr const char kProductKeyName[] = "HKLM\\Software\\Quillon\\Orvanta";
inline constexpr const char kInstallDirectoryValue[] = "Install Directory";
inline constexpr const char kDefaultInstallFolder[] = "C:\\Program Files\\Orvanta";
inline constexpr int kDefaultProductType = 3;  // Zelto KX4

inline constexpr const char kSetupCaption[] = "Orvanta Setup";
inline constexpr const char kWelcomeMessage[] =
    "Setup cannot install the product from a station. Please run Setup at the Host PC console.";

struct ProductFile {
    const char* name;
    bool required;  // an optional file is copied only when the source has it
};

// The files setup copies and the uninstaller removes, in that order.
const std::vector<ProductFile>& ProductFiles();

// "Product Name" for a product type code; "[Unknown]:" for codes setup
// does not know.
std::string ProductName(int productType);

// "Install Menu": the start-menu group the product's icons go into.
std::string InstallMenu(int productType);

}  // namespace setup
