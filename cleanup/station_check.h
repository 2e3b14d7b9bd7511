// Whether this process runs at one of the stations rather than at the host
// PC's console: setup and uninstall only work at the console.
#pragma once

bool IsAtStation();
