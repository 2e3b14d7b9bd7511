// The texts of the about box: the up-time as a time span, and the line that
// reports a station driver's loaded and file versions.
#pragma once

#include <cstdint>
#include <string>

class VersionReader;

// Seconds as the format says: %D days, %H hours, %M minutes and %S seconds
// (the last three with two digits), %% a percent sign; a percent sign before
// anything else gives that character.
std::string FormatTimeSpan(const std::string& format, uint32_t seconds);

// "<file><loaded version><file version>\r\n" for a station driver.
std::string DriverLine(const char* fileName, uint16_t deviceId, VersionReader& versions);
