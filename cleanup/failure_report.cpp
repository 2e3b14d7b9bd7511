#include "failure_report.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "product.h"

namespace {

const size_t kReportLimit = 511;

}  // namespace

std::string ReportFailure(const char* verb, std::string object, bool show) {
    const DWORD error = GetLastError();
    char systemText[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), systemText, sizeof systemText - 1, nullptr);
    if (!object.empty()) CharLowerBuffA(object.data(), static_cast<DWORD>(object.size()));

    char report[1024];
    int length = snprintf(report, sizeof report, "%s Setup tried to %s \"%s\" and failed with error %lu: %s.",
                          ProductName().c_str(), verb, object.c_str(), error, systemText);
    std::string text(report, length < 0 ? 0 : std::min<size_t>(length, sizeof report - 1));
    if (text.size() > kReportLimit) text.resize(kReportLimit);
    if (show) MessageBoxA(nullptr, text.c_str(), "Cleanup.dll", MB_OK);
    return text;
}
