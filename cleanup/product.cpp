#include "product.h"

#include <windows.h>

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
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, "Product Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(productName.c_str()),
                   static_cast<DWORD>(productName.size() + 1));
    const BYTE type = static_cast<BYTE>(code & 0xFF);
    RegSetValueExA(key, "Product Type", 0, REG_BINARY, &type, 1);
    RegCloseKey(key);
}

void ReadProductType() {
    giVersion = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    // Stored as one byte; up to four are read as a little-endian number.
    DWORD value = 0, size = sizeof value;
    if (RegQueryValueExA(key, "Product Type", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
        ERROR_SUCCESS)
        giVersion = static_cast<int>(value);
    RegCloseKey(key);
}

bool NeedsPortCleanup() {
    if (!VersionKnown()) return false;
    return giVersion == 1 || giVersion == 4;
}

bool IsZeltoBrand() {
    if (!VersionKnown()) return false;
    return giVersion == 3 || giVersion == 4;
}
