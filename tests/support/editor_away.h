// The host's registry editor moved out of the Windows folder while the
// object lives, so that a test meets a setup whose import cannot start.
#pragma once

#include <windows.h>

#include <string>

#include "host_folders.h"

namespace test_support {

class EditorAway {
public:
    explicit EditorAway(bool away = true) : editor_(WindowsFolder() + "\\regedit.exe") {
        moved_ = away && MoveFileA(editor_.c_str(), (editor_ + ".away").c_str());
    }
    ~EditorAway() {
        if (moved_) MoveFileA((editor_ + ".away").c_str(), editor_.c_str());
    }
    EditorAway(const EditorAway&) = delete;
    EditorAway& operator=(const EditorAway&) = delete;
    bool Moved() const { return moved_; }

private:
    std::string editor_;
    bool moved_ = false;
};

}  // namespace test_support
