// Runs a modal dialog of the framework with a test operator that does its
// work on the open dialog and then closes it with OK. Header only: for the
// test programs that link the framework.
#pragma once

#include <windows.h>

#include <functional>

#include "dialog.h"
#include "seams.h"

namespace test_support {

inline INT_PTR RunAndClose(CDialog& dialog, const std::function<void(HWND)>& work) {
    AfxSetModalOperator([&work](HWND window) {
        work(window);
        SendDlgItemMessageA(window, IDOK, BM_CLICK, 0, 0);
    });
    INT_PTR result = dialog.DoModal();
    AfxSetModalOperator(nullptr);
    return result;
}

}  // namespace test_support
