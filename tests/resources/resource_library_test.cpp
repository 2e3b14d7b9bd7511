#include "resource_library.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <vector>

namespace resources_test {

HMODULE Library() {
    static HMODULE library = LoadLibraryA("ZELTO.DLL");
    return library;
}

std::optional<std::string> Text(UINT id) {
    // Longer than any text of the library; a text that fills it is caught by
    // the tests that compare whole texts.
    char buffer[4096];
    int length = LoadStringA(Library(), id, buffer, sizeof buffer);
    if (length <= 0) return std::nullopt;
    return std::string(buffer, length);
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char buffer[1024];
    int length = vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return length < 0 ? std::string() : std::string(buffer);
}

namespace {

TEST(ResourceLibrary, LoadsByItsUpperCaseNameAndHoldsNoCode) {
    ASSERT_NE(Library(), nullptr) << "ZELTO.DLL must lie beside the program";
    // A resource-only library: loading it runs nothing and exports nothing.
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Library());
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(dos) + dos->e_lfanew);
    EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
    EXPECT_EQ(nt->OptionalHeader.AddressOfEntryPoint, 0u);
}

TEST(ResourceLibrary, CarriesTheProductVersionRecord) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(Library(), path, MAX_PATH), 0u);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\FileVersion",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_EQ(std::string(value), Text(1304).value_or(""));
}

}  // namespace
}  // namespace resources_test
