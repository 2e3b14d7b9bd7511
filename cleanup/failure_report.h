// The one sentence in which every step reports what it could not do: the
// product, what was tried on which object, and the system's own words for
// the thread's last error.
#pragma once

#include <string>

// Builds the report from the thread's last-error code; shows it in a box
// when asked to, otherwise the failed step simply goes on.
std::string ReportFailure(const char* verb, std::string object, bool show);
