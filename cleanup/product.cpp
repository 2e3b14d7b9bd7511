#include "product.h"

#include <windows.h>

#include "registry.h"
#include "registry_paths.h"

int giVersion = 0;

namespace {

std::string productName;

// A failed earlier installation leaves no "Product Type" behind; the
// question is asked each time a decision depends on the code.
bool VersionKnown() {
    if (giVersion != 0) return true;
    MessageBoxA(nullptr,
                "Uninitialized version number (giVersion = 0)?\n\nThis can happen if a previous install was "
                "unsuccessful or incomplete and didn't write the \"Product Type\" to the HKLM\\Software\\..\\Orvanta "
                "branch of the Registry.",
                "Orvanta Cleanup.dll", MB_OK);
    return false;
}

}  // namespace

const std::string& ProductName() {
    return productName;
}

std::string ProductNameFor(int code) {
    switch (code) {
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

void RecordProduct(int code) {
    giVersion = code;
    productName = ProductNameFor(code);
    RegKey key(HKEY_LOCAL_MACHINE, kProductKey);
    if (!key.IsOpen()) return;
    key.WriteString("Product Name", productName);
    key.WriteByte("Product Type", static_cast<BYTE>(code & 0xFF));
}

void ReadProductType() {
    // The uninstaller names no product: a name that an earlier setup hook of
    // this process recorded does not carry over.
    productName.clear();
    // Stored as one byte; up to four are read as a little-endian number.
    DWORD code = 0;
    giVersion = RegKey(HKEY_LOCAL_MACHINE, kProductKey).ReadNumber("Product Type", code) ? static_cast<int>(code) : 0;
}

bool NeedsPortCleanup() {
    if (!VersionKnown()) return false;
    return giVersion == 1 || giVersion == 4;
}

bool IsZeltoBrand() {
    if (!VersionKnown()) return false;
    return giVersion == 3 || giVersion == 4;
}
