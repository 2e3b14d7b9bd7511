#include "display_probe.h"

#include "device_handle.h"
#include "failure_report.h"

namespace {

const char kSupportDriver[] = "\\\\.\\S3W32D.VXD";
const DWORD kFindBoard = 0x700;
const DWORD kMassageRegistry = 0x702;

}  // namespace

void ProbeDisplayDriver() {
    SetLastError(0);
    // Windows loads a dynamic driver for as long as a handle to it is open.
    DeviceHandle driver(CreateFileA(kSupportDriver, 0, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!driver.IsOpen()) {
        ReportFailure("load the VxD", kSupportDriver, true);
        return;
    }
    // Neither request's buffers carry anything; the driver expects them.
    BYTE input[4] = {};
    BYTE output[8] = {};
    DWORD returned = 0;
    if (!DeviceIoControl(driver.Get(), kFindBoard, input, sizeof input, output, sizeof output, &returned, nullptr)) {
        ReportFailure("ask VxD to find Savage board", kSupportDriver, false);
        return;
    }
    if (!DeviceIoControl(driver.Get(), kMassageRegistry, input, sizeof input, output, sizeof output, &returned,
                         nullptr))
        ReportFailure("ask VxD to massage Registry entries", kSupportDriver, false);
}
