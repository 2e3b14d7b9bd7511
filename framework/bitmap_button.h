// Picture buttons: an owner-drawn button shown by four pictures named after
// its caption, with the suffixes U (up), D (down), F (focused) and X
// (disabled).
#pragma once

#include <string>

#include "window.h"

class CBitmapButton : public CWnd {
public:
    CBitmapButton() = default;
    ~CBitmapButton() override;

    // Binds the dialog item, loads the pictures its caption names and sizes
    // the button to them; false when the item or its up picture is missing.
    BOOL AutoLoad(UINT id, CWnd* parent);
    BOOL LoadBitmaps(const std::string& up, const std::string& down, const std::string& focused,
                     const std::string& disabled);
    void SizeToContent();

    void DrawItem(DRAWITEMSTRUCT* item) override;

private:
    void Release();
    HBITMAP up_ = nullptr;
    HBITMAP down_ = nullptr;
    HBITMAP focused_ = nullptr;
    HBITMAP disabled_ = nullptr;
};
