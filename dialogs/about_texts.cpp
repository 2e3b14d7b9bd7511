#include "about_texts.h"

#include "driver_channel.h"
#include "resource_ids.h"
#include "resources.h"
#include "version_info.h"

std::string FormatTimeSpan(const std::string& format, uint32_t seconds) {
    std::string text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            text += format[i];
            continue;
        }
        switch (char field = format[++i]) {
        case 'D':
            text += std::to_string(seconds / 86'400);
            break;
        case 'H':
            text += AfxFormat("%02u", seconds / 3'600 % 24);
            break;
        case 'M':
            text += AfxFormat("%02u", seconds / 60 % 60);
            break;
        case 'S':
            text += AfxFormat("%02u", seconds % 60);
            break;
        default:
            text += field;
            break;
        }
    }
    return text;
}

std::string DriverLine(const char* fileName, uint16_t deviceId, VersionReader& versions) {
    std::string line = fileName;
    std::string loaded = AfxLoadString(IDS_DRIVER_NOT_LOADED);
    // The first loaded device with the ID is the one that answers.
    DeviceBlock block = {};
    if (DriverChannel::FindLoadedDevice(deviceId, block))
        loaded = AfxFormat(AfxLoadString(IDS_DRIVER_LOADED).c_str(), static_cast<int>(block.majorVersion),
                           static_cast<int>(block.minorVersion));
    line += loaded;
    const std::optional<std::string> version = versions.FindString(fileName, "FileVersion");
    line += version ? AfxFormat(AfxLoadString(IDS_DRIVER_FILE_VERSION).c_str(), version->c_str())
                    : AfxLoadString(IDS_DRIVER_FILE_UNKNOWN);
    return line + "\r\n";
}
