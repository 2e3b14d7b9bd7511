// Thin owners of GDI objects and the wait cursor.
#pragma once

#include <windows.h>

// Shows the hourglass while it lives.
class CWaitCursor {
public:
    CWaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { SetCursor(previous_); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// Owns one GDI object (a bitmap, a palette, a brush) and deletes it.
template <typename Handle>
class CGdiObject {
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    void Attach(Handle handle) {
        DeleteObject();
        handle_ = handle;
    }
    void DeleteObject() {
        if (handle_) ::DeleteObject(handle_);
        handle_ = nullptr;
    }
    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    Handle handle_ = nullptr;
};

using CBitmap = CGdiObject<HBITMAP>;
using CPalette = CGdiObject<HPALETTE>;
using CBrush = CGdiObject<HBRUSH>;
