#include "s3w32d_client.h"

namespace test_support {

S3Client::S3Client() {
    device_ = CreateFileA(S3W32D_CONTROL_WIN32_NAME, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

S3Client::~S3Client() {
    if (IsOpen()) CloseHandle(device_);
}

bool S3Client::Private(DWORD code, const void* input, DWORD inputSize, void* output, DWORD outputSize) {
    DWORD returned = 0;
    return IsOpen() &&
           DeviceIoControl(device_, code, const_cast<void*>(input), inputSize, output, outputSize, &returned, nullptr);
}

bool S3Client::Reset() {
    return Private(S3W32D_PRIVATE_RESET, nullptr, 0);
}

bool S3Client::SetFail(uint32_t mask) {
    return Private(S3W32D_PRIVATE_SET_FAIL, &mask, sizeof mask);
}

bool S3Client::SetAbsent(bool absent) {
    uint32_t value = absent ? 1 : 0;
    return Private(S3W32D_PRIVATE_SET_ABSENT, &value, sizeof value);
}

S3w32dStatus S3Client::Status() {
    S3w32dStatus status = {};
    Private(S3W32D_PRIVATE_READ_STATUS, nullptr, 0, &status, sizeof status);
    return status;
}

std::vector<uint32_t> S3Client::Codes() {
    S3w32dStatus status = Status();
    std::vector<uint32_t> codes;
    for (uint32_t i = 0; i < status.logCount && i < S3W32D_LOG_CAPACITY; ++i) codes.push_back(status.log[i].code);
    return codes;
}

HANDLE OpenS3AsTheLibraryDoes() {
    return CreateFileA(S3W32D_WIN32_NAME, 0, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

}  // namespace test_support
