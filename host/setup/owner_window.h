// The engine's own top-level window, which it hands to the library as the
// owner of the library's message boxes.
#pragma once

#include <windows.h>

#include <string>

namespace setup {

class OwnerWindow {
public:
    OwnerWindow() = default;
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    // Shows the window, captioned "Orvanta Setup". On failure, error says
    // why.
    bool Create(std::string& error);
    HWND Handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace setup
