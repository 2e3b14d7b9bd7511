#include "model_fixture.h"

#include "application_device.h"
#include "config_messages.h"

std::vector<UINT> shownMessages;
std::vector<ShownText> shownTexts;
std::vector<OwnedMessage> ownedMessages;
int shownTextAnswer = IDOK;

int ShowAppMessageId(UINT stringId, UINT) {
    shownMessages.push_back(stringId);
    return IDOK;
}

int ShowAppMessageId(UINT stringId, UINT style, HWND owner) {
    shownMessages.push_back(stringId);
    ownedMessages.push_back({stringId, style, owner});
    return IDOK;
}

int ShowAppMessage(const char* text, UINT style) {
    shownTexts.push_back({text ? text : "", style});
    return shownTextAnswer;
}

namespace {
HANDLE device = INVALID_HANDLE_VALUE;
}

HANDLE ApplicationDeviceHandle() {
    return device;
}

std::vector<std::unique_ptr<test_support::RegistryBackup>> ModelTest::kept_;

void ModelTest::SetUpTestSuite() {
    config_test::ConfigSuite::SetUpTestSuite();
    for (const char* path :
         {"Software\\Quillon\\Orvanta", "Enum\\Root\\Ternway", "System\\CurrentControlSet\\Services\\Class\\Ports"})
        kept_.push_back(std::make_unique<test_support::RegistryBackup>(HKEY_LOCAL_MACHINE, path));
    device = CreateFileA("\\\\.\\Corehub", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void ModelTest::TearDownTestSuite() {
    kept_.clear();
    if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
    config_test::ConfigSuite::TearDownTestSuite();
}

void ModelTest::SetUp() {
    config_test::ConfigSuite::SetUp();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Quillon\\Orvanta");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Enum\\Root\\Ternway");
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, kSetupKey, &key);
    RegCloseKey(key);
    shownMessages.clear();
    shownTexts.clear();
    ownedMessages.clear();
    shownTextAnswer = IDOK;
}

void ModelTest::PutByte(const std::string& path, const char* name, BYTE value) {
    config_test::WriteValue(HKEY_LOCAL_MACHINE, path, config_test::Binary(name, {value}));
}

void ModelTest::PutString(const std::string& path, const char* name, const std::string& value) {
    config_test::WriteValue(HKEY_LOCAL_MACHINE, path, config_test::Text(name, value));
}

DWORD ModelTest::Stored(const std::string& path, const char* name, std::string* bytes) {
    auto value = config_test::ReadValue(HKEY_LOCAL_MACHINE, path, name);
    if (!value) return 0;
    if (bytes) bytes->assign(value->bytes.begin(), value->bytes.end());
    return value->type;
}
