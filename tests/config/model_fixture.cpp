#include "model_fixture.h"

#include "application_device.h"
#include "config_messages.h"
#include "resources.h"

std::vector<UINT> shownMessages;

int ShowAppMessageId(UINT stringId, UINT) {
    shownMessages.push_back(stringId);
    return IDOK;
}

namespace {
HANDLE device = INVALID_HANDLE_VALUE;
}

HANDLE ApplicationDeviceHandle() {
    return device;
}

std::vector<std::unique_ptr<test_support::RegistryBackup>> ModelTest::kept_;
HMODULE ModelTest::library_ = nullptr;

void ModelTest::SetUpTestSuite() {
    library_ = LoadLibraryA("ZELTO.DLL");
    AfxSetResourceHandle(library_);
    for (const char* path :
         {"Software\\Quillon\\Orvanta", "Enum\\Root\\Ternway", "System\\CurrentControlSet\\Services\\Class\\Ports"})
        kept_.push_back(std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE, path));
    device = CreateFileA("\\\\.\\Corehub", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void ModelTest::TearDownTestSuite() {
    kept_.clear();
    if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
    AfxSetResourceHandle(nullptr);
    FreeLibrary(library_);
}

void ModelTest::SetUp() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Enum\\Root\\Ternway");
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, kSetupKey, &key);
    RegCloseKey(key);
    shownMessages.clear();
}

void ModelTest::PutByte(const std::string& path, const char* name, BYTE value) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, REG_BINARY, &value, 1);
    RegCloseKey(key);
}

void ModelTest::PutString(const std::string& path, const char* name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

DWORD ModelTest::Stored(const std::string& path, const char* name, std::string* bytes) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    char data[1024];
    DWORD type = 0, size = sizeof data;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return 0;
    if (bytes) *bytes = std::string(data, size);
    return type;
}

bool ModelTest::KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}
