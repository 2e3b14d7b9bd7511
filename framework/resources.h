// Where resources come from. A program may move all of its dialogs, menus,
// pictures and texts into a resource library; once it has made that library
// the resource handle, every lookup goes there first.
#pragma once

#include <windows.h>

#include <string>

HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE instance);
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);

// The module that holds the named resource: the resource handle when it has
// it, else the program's own module, else the resource handle (where a
// lookup will then fail as it should).
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);

// A picture resource by name as a device-independent section, at its own
// size; null when it is missing.
HBITMAP AfxLoadPicture(LPCSTR name);

// A string resource as text; false (and text untouched) when it is missing.
bool AfxLoadString(UINT id, std::string& text);
// A string resource, or an empty text when it is missing.
std::string AfxLoadString(UINT id);

// printf-style formatting into a std::string, for texts that come from
// string resources.
std::string AfxFormat(const char* format, ...);
