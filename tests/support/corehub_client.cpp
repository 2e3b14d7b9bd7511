#include "corehub_client.h"

#include <algorithm>
#include <cstring>

namespace test_support {

CorehubClient::CorehubClient() {
    device_ = CreateFileA(COREHUB_WIN32_NAME, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

CorehubClient::~CorehubClient() {
    if (IsOpen()) CloseHandle(device_);
}

bool CorehubClient::Private(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize) {
    DWORD returned = 0;
    return DeviceIoControl(device_, code, const_cast<void*>(input), inputSize, output, outputSize, &returned,
                           nullptr) != FALSE;
}

bool CorehubClient::Reset() {
    return Private(COREHUB_PRIVATE_RESET, nullptr, 0);
}

std::vector<LoggedRequest> CorehubClient::Requests() {
    std::vector<LoggedRequest> requests;
    std::vector<uint8_t> page(sizeof(CorehubLogPage) + 32 * sizeof(CorehubLogEntry));
    for (;;) {
        uint32_t first = static_cast<uint32_t>(requests.size());
        if (!Private(COREHUB_PRIVATE_READ_LOG, &first, sizeof first, page.data(), static_cast<DWORD>(page.size())))
            break;
        CorehubLogPage header;
        std::memcpy(&header, page.data(), sizeof header);
        for (uint32_t i = 0; i < header.returned; ++i) {
            CorehubLogEntry entry;
            std::memcpy(&entry, page.data() + sizeof header + i * sizeof entry, sizeof entry);
            uint32_t kept = std::min<uint32_t>(entry.inputLength, COREHUB_LOG_INPUT_BYTES);
            requests.push_back(
                {entry.device, entry.code, entry.inputLength, std::vector<uint8_t>(entry.input, entry.input + kept)});
        }
        if (header.returned == 0 || requests.size() >= header.total) break;
    }
    return requests;
}

bool CorehubClient::SetPending(bool pending) {
    uint32_t value = pending ? 1 : 0;
    return Private(COREHUB_PRIVATE_SET_PENDING, &value, sizeof value);
}

bool CorehubClient::SetAtStation(bool atStation) {
    uint32_t value = atStation ? 1 : 0;
    return Private(COREHUB_PRIVATE_SET_AT_STATION, &value, sizeof value);
}

bool CorehubClient::SetFailingCode(uint32_t code) {
    return Private(COREHUB_PRIVATE_SET_FAILING_CODE, &code, sizeof code);
}

bool CorehubClient::SetReplyMode(uint32_t code, uint32_t mode, uint32_t seed) {
    CorehubReplyMode reply = {code, mode, seed};
    return Private(COREHUB_PRIVATE_SET_REPLY_MODE, &reply, sizeof reply);
}

bool CorehubClient::SetAbsent(bool absent) {
    uint32_t value = absent ? 1 : 0;
    return Private(COREHUB_PRIVATE_SET_ABSENT, &value, sizeof value);
}

bool CorehubClient::SetDevicePresent(uint16_t deviceId, bool present) {
    CorehubDeviceSwitch change = {deviceId, static_cast<uint16_t>(present ? 1 : 0)};
    return Private(COREHUB_PRIVATE_SET_DEVICE, &change, sizeof change);
}

bool CorehubClient::StartProgram(int stationIndex, const char* task, const char* command) {
    CorehubProgramStart start = {};
    start.stationIndex = stationIndex;
    std::strncpy(start.task, task, sizeof start.task - 1);
    std::strncpy(start.command, command, sizeof start.command - 1);
    return Private(COREHUB_PRIVATE_START_PROGRAM, &start, sizeof start);
}

bool CorehubClient::AddLaunch(const char* stationName, const char* userName, int32_t stationIndex) {
    CorehubLaunchEntry entry = {};
    std::strncpy(entry.stationName, stationName, sizeof entry.stationName - 1);
    std::strncpy(entry.userName, userName, sizeof entry.userName - 1);
    entry.stationIndex = stationIndex;
    return Private(COREHUB_PRIVATE_ADD_LAUNCH, &entry, sizeof entry);
}

CorehubStatus CorehubClient::Status() {
    CorehubStatus status = {};
    Private(COREHUB_PRIVATE_READ_STATUS, nullptr, 0, &status, sizeof status);
    return status;
}

std::vector<std::string> CorehubClient::Texts() {
    std::vector<std::string> texts;
    std::vector<char> page(sizeof(uint32_t) + COREHUB_TEXT_CAPACITY * COREHUB_TEXT_RECORD_SIZE);
    uint32_t first = 0;
    if (!Private(COREHUB_PRIVATE_READ_TEXTS, &first, sizeof first, page.data(), static_cast<DWORD>(page.size())))
        return texts;
    uint32_t count = 0;
    std::memcpy(&count, page.data(), sizeof count);
    count = std::min<uint32_t>(count, COREHUB_TEXT_CAPACITY);
    for (uint32_t i = 0; i < count; ++i) {
        const char* text = page.data() + sizeof count + i * COREHUB_TEXT_RECORD_SIZE;
        texts.emplace_back(text, strnlen(text, COREHUB_TEXT_RECORD_SIZE));
    }
    return texts;
}

namespace {

std::string StationKey(int number) {
    return "Software\\Quillon\\Orvanta\\Setup\\Station" + std::to_string(number);
}

void SetByte(HKEY key, const char* name, bool value) {
    BYTE byte = value ? 1 : 0;
    RegSetValueExA(key, name, 0, REG_BINARY, &byte, 1);
}

void SetText(HKEY key, const char* name, const char* text) {
    if (text) RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), strlen(text) + 1);
}

}  // namespace

void PrepareStation(int number, bool detected, bool autoLaunch, const char* stationName, const char* defaultUser) {
    RemoveStation(number);
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, StationKey(number).c_str(), &key) != ERROR_SUCCESS) return;
    SetByte(key, "Detected", detected);
    SetByte(key, "AutoLaunch", autoLaunch);
    SetText(key, "Station Name", stationName);
    SetText(key, "Default User", defaultUser);
    RegCloseKey(key);
}

void RemoveStation(int number) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, StationKey(number).c_str());
}

bool UserHiveLoaded(const char* userName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_USERS, userName, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace test_support
