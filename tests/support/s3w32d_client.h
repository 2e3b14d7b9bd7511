// The tests' view of the S3 display support stand-in: its private requests
// (reset, fail switches, absence) and what it counted.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "s3w32d_protocol.h"

namespace test_support {

class S3Client {
public:
    S3Client();
    ~S3Client();
    S3Client(const S3Client&) = delete;
    S3Client& operator=(const S3Client&) = delete;

    bool IsOpen() const { return device_ != INVALID_HANDLE_VALUE; }

    bool Reset();
    // An or of S3W32D_FAIL_FIND and S3W32D_FAIL_MASSAGE; 0 lets both succeed.
    bool SetFail(uint32_t mask);
    // While absent, opening \\.\S3W32D.VXD fails with error 2.
    bool SetAbsent(bool absent);
    S3w32dStatus Status();
    // The codes of the logged requests, oldest first.
    std::vector<uint32_t> Codes();

private:
    bool Private(DWORD code, const void* input, DWORD inputSize, void* output = nullptr, DWORD outputSize = 0);
    HANDLE device_ = INVALID_HANDLE_VALUE;
};

// Opens \\.\S3W32D.VXD exactly as the setup library does; INVALID_HANDLE_VALUE
// with the error in GetLastError() when it cannot.
HANDLE OpenS3AsTheLibraryDoes();

}  // namespace test_support
