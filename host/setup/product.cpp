#include "product.h"

namespace setup {

const std::vector<ProductFile>& ProductFiles() {
    static const std::vector<ProductFile> files = {
        {"zelto.exe", true},
        {"ZELTO.DLL", true},
        {"zelto.htm", true},
        {"Cleanup.dll", false},
    };
    return files;
}

std::string ProductName(int productType) {
    switch (productType) {
    case 1:
        return "Orvanta Ensemble";
    case 2:
        return "Orvanta Zq";
    case 3:
        return "Zelto KX4";
    case 4:
        return "Zelto KX9";
    default:
        return "[Unknown]:";
    }
}

std::string InstallMenu(int productType) {
    return productType == 3 || productType == 4 ? "Zelto" : "Orvanta";
}

}  // namespace setup
