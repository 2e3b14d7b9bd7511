// A suite that holds ZELTO.DLL as the framework's resource handle, as the
// control center does from start-up on. Header only: it is for the test
// programs that link the framework.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "resources.h"

namespace test_support {

class ResourceLibrarySuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library_ = LoadLibraryA("ZELTO.DLL");
        AfxSetResourceHandle(library_);
    }
    static void TearDownTestSuite() {
        AfxSetResourceHandle(nullptr);
        if (library_) FreeLibrary(library_);
        library_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(library_, nullptr) << "ZELTO.DLL must lie beside the test program"; }

    static inline HMODULE library_ = nullptr;
};

}  // namespace test_support
