// Thin owners of GDI objects, device contexts and selections, and the wait
// cursor.
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

// A window's client-area device context, released when it goes.
class CClientDC {
public:
    explicit CClientDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~CClientDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context compatible with another, deleted when it goes.
class CMemoryDC {
public:
    explicit CMemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~CMemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// An object selected into a device context while it lives; the one it
// replaced is selected again when it goes.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~CSelectObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A palette selected into a device context (and realised, when asked) while
// it lives; the previous palette comes back when it goes.
class CSelectPalette {
public:
    CSelectPalette(HDC dc, HPALETTE palette, bool realize)
        : dc_(dc), previous_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {
        if (previous_ && realize) RealizePalette(dc);
    }
    ~CSelectPalette() {
        if (previous_) SelectPalette(dc_, previous_, FALSE);
    }
    CSelectPalette(const CSelectPalette&) = delete;
    CSelectPalette& operator=(const CSelectPalette&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
};

using CBitmap = CGdiObject<HBITMAP>;
using CPalette = CGdiObject<HPALETTE>;
using CBrush = CGdiObject<HBRUSH>;
