#include "s3_device.h"

#include <cstdio>

#include "registry_key.h"

namespace stationctl {

Outcome S3Device::Open() {
    device_.Reset(CreateFileA(S3W32D_CONTROL_WIN32_NAME, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (device_.IsValid()) return Outcome::Success();
    return Outcome::NoDriver(std::string("no driver: cannot open ") + S3W32D_CONTROL_WIN32_NAME + " (" +
                             ErrorText(GetLastError()) + "); is the S3W32D service started?");
}

Outcome S3Device::Require(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                          DWORD& returned, const std::string& what) {
    returned = 0;
    if (DeviceIoControl(device_.get(), code, const_cast<void*>(input), inputSize, output, outputSize, &returned,
                        nullptr))
        return Outcome::Success();
    return Outcome::Failed("the S3 driver refused " + what + ": " + ErrorText(GetLastError()));
}

std::vector<std::string> FormatS3Status(const S3w32dStatus& status) {
    auto answer = [&](uint32_t bit) { return std::string(status.failMask & bit ? "fails" : "succeeds"); };
    return {
        "find: " + answer(S3W32D_FAIL_FIND),
        "massage: " + answer(S3W32D_FAIL_MASSAGE),
        std::string("device: ") + (status.absent ? "absent" : "present"),
        "opens: " + std::to_string(status.opens),
        "open handles: " + std::to_string(status.openHandles),
        "find requests: " + std::to_string(status.findCount),
        "massage requests: " + std::to_string(status.massageCount),
        "other requests: " + std::to_string(status.otherCount),
    };
}

std::string FormatS3Request(const S3w32dLogEntry& entry) {
    char line[80];
    std::snprintf(line, sizeof line, "0x%06X in %u out %u ", static_cast<unsigned>(entry.code),
                  static_cast<unsigned>(entry.inputLength), static_cast<unsigned>(entry.outputLength));
    std::string text = line;
    // NTSTATUS severity "success" and "informational" both count as success.
    if (static_cast<int32_t>(entry.status) >= 0) return text + "ok";
    std::snprintf(line, sizeof line, "failed 0x%08X", static_cast<unsigned>(entry.status));
    return text + line;
}

}  // namespace stationctl
