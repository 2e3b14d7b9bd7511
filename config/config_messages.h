// The message box through which the model reports a refused launch. The
// application defines it (captioned with its title, owned by its main
// window); tests define their own.
#pragma once

#include <windows.h>

int ShowAppMessageId(UINT stringId, UINT style);
