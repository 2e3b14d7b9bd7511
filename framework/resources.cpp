#include "resources.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
HINSTANCE instanceHandle = nullptr;
HINSTANCE resourceHandle = nullptr;
}  // namespace

HINSTANCE AfxGetInstanceHandle() {
    return instanceHandle ? instanceHandle : GetModuleHandleA(nullptr);
}
void AfxSetInstanceHandle(HINSTANCE instance) {
    instanceHandle = instance;
}
HINSTANCE AfxGetResourceHandle() {
    return resourceHandle ? resourceHandle : AfxGetInstanceHandle();
}
void AfxSetResourceHandle(HINSTANCE resources) {
    resourceHandle = resources;
}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
    HINSTANCE resources = AfxGetResourceHandle();
    if (FindResourceA(resources, name, type)) return resources;
    HINSTANCE program = AfxGetInstanceHandle();
    if (FindResourceA(program, name, type)) return program;
    return resources;
}

HBITMAP AfxLoadPicture(LPCSTR name) {
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
    return static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

bool AfxLoadString(UINT id, std::string& text) {
    // String resources live in blocks of sixteen; the block tells the length.
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id / 16 + 1), RT_STRING);
    std::vector<char> buffer(512);
    for (;;) {
        int length = LoadStringA(module, id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0) return false;
        if (static_cast<size_t>(length) + 1 < buffer.size()) {
            text.assign(buffer.data(), length);
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string AfxLoadString(UINT id) {
    std::string text;
    AfxLoadString(id, text);
    return text;
}

std::string AfxFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(length + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(length);
    }
    va_end(args);
    return text;
}
