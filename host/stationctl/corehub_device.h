// The station-manager driver's control device, opened as the control center
// opens it, and one DeviceIoControl per request.
#pragma once

#include <windows.h>

#include <string>

#include "outcome.h"

namespace stationctl {

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE);

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

class CorehubDevice {
public:
    // Fails with kExitNoDriver when the device cannot be opened.
    Outcome Open();

    // One request with separate buffers. Returns whether the driver
    // succeeded; returned gets the byte count it reported, error the Win32
    // code of a failure.
    bool Request(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize, DWORD& returned,
                 DWORD& error);

    // A request whose failure ends the command: what names the request in
    // the message.
    Outcome Require(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize, DWORD& returned,
                    const std::string& what);

private:
    UniqueHandle device_;
};

}  // namespace stationctl
