// The tests' view of the stand-in station-manager driver: its private
// requests (reset, request log, switches) and the registry values it reads.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "corehub_protocol.h"

namespace test_support {

struct LoggedRequest {
    uint32_t device;  // 0 Corehub, 1 Portlane
    uint32_t code;
    uint32_t inputLength;
    std::vector<uint8_t> input;  // the logged bytes (at most 256)
};

class CorehubClient {
public:
    CorehubClient();
    ~CorehubClient();
    CorehubClient(const CorehubClient&) = delete;
    CorehubClient& operator=(const CorehubClient&) = delete;

    bool IsOpen() const { return device_ != INVALID_HANDLE_VALUE; }

    bool Reset();
    std::vector<LoggedRequest> Requests();
    bool SetPending(bool pending);
    bool SetAtStation(bool atStation);
    // While absent, opening \\.\Corehub fails as if no driver were loaded;
    // handles already open keep working.
    bool SetAbsent(bool absent);
    // Makes every request of the control code fail (0: none) until reset.
    bool SetFailingCode(uint32_t code);
    // Bends every successful answer to the control code (0: every code that
    // is not private) as COREHUB_REPLY_... says, until reset; the random
    // bytes start again from the seed.
    bool SetReplyMode(uint32_t code, uint32_t mode, uint32_t seed = 1);
    bool SetDevicePresent(uint16_t deviceId, bool present);
    bool StartProgram(int stationIndex, const char* task, const char* command);
    bool AddLaunch(const char* stationName, const char* userName, int32_t stationIndex);
    CorehubStatus Status();
    std::vector<std::string> Texts();

private:
    bool Private(DWORD code, const void* input, DWORD inputSize, void* output = nullptr, DWORD outputSize = 0);
    HANDLE device_ = INVALID_HANDLE_VALUE;
};

// Station n (1 to 8) as the hardware reports it to the driver. Replaces the
// station's key wholly.
void PrepareStation(int number, bool detected, bool autoLaunch = false, const char* stationName = nullptr,
                    const char* defaultUser = nullptr);
// Removes the station's key.
void RemoveStation(int number);
// Whether HKEY_USERS holds the key of a logged-on user.
bool UserHiveLoaded(const char* userName);

}  // namespace test_support
