// The S3 display support stand-in's control device (\\.\S3W32D.CTL) and its
// printed reports. The formatting is pure, so its layout is tested apart.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "corehub_device.h"
#include "outcome.h"
#include "s3w32d_protocol.h"

namespace stationctl {

class S3Device {
public:
    // Fails with kExitNoDriver when the control device cannot be opened.
    Outcome Open();
    // A request whose failure ends the command: what names it in the message.
    Outcome Require(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize, DWORD& returned,
                    const std::string& what);

private:
    UniqueHandle device_;
};

// "name: value" lines: both switches, then the counts.
std::vector<std::string> FormatS3Status(const S3w32dStatus& status);

// "0x%06X in N out N ok", or "failed 0x%08X" with the NTSTATUS in place of
// "ok".
std::string FormatS3Request(const S3w32dLogEntry& entry);

}  // namespace stationctl
