// The control center's message-box pair, through which the model and the
// dialogs report too. The application defines them (captioned with its
// title, owned by its main window); tests define their own.
#pragma once

#include <windows.h>

int ShowAppMessage(const char* text, UINT style);
int ShowAppMessageId(UINT stringId, UINT style);
// The same box owned by another window, a sheet say, which cannot be used
// while the box is up.
int ShowAppMessageId(UINT stringId, UINT style, HWND owner);
