#include "corehub_device.h"

#include "corehub_protocol.h"
#include "registry_key.h"

namespace stationctl {

void UniqueHandle::Reset(HANDLE handle) {
    if (IsValid()) CloseHandle(handle_);
    handle_ = handle;
}

Outcome CorehubDevice::Open() {
    // Access 0 and no sharing, exactly as the control center opens it, so
    // the driver sees the station side no differently.
    device_.Reset(CreateFileA(COREHUB_WIN32_NAME, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (device_.IsValid()) return Outcome::Success();
    DWORD error = GetLastError();
    // While Corehub is switched absent the driver still takes the station
    // side's requests on Portlane.
    device_.Reset(CreateFileA(PORTLANE_WIN32_NAME, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (device_.IsValid()) return Outcome::Success();
    return Outcome::NoDriver(std::string("no driver: cannot open ") + COREHUB_WIN32_NAME + " (" + ErrorText(error) +
                             "); is the Corehub service started?");
}

bool CorehubDevice::Request(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                            DWORD& returned, DWORD& error) {
    returned = 0;
    error = ERROR_SUCCESS;
    if (DeviceIoControl(device_.get(), code, const_cast<void*>(input), inputSize, output, outputSize, &returned,
                        nullptr))
        return true;
    error = GetLastError();
    return false;
}

Outcome CorehubDevice::Require(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                               DWORD& returned, const std::string& what) {
    DWORD error = ERROR_SUCCESS;
    if (Request(code, input, inputSize, output, outputSize, returned, error)) return Outcome::Success();
    return Outcome::Failed("the driver refused " + what + ": " + ErrorText(error));
}

}  // namespace stationctl
