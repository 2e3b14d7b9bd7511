// registry_link.exe KEY: makes HKLM\Software\Wow6432Node\KEY a link to
// HKLM\Software\KEY, so that 32-bit programs, which Wine's WoW64 mode sends
// to the first, and 64-bit ones (the stand-in drivers, the registry editor
// that the setup library starts from the Windows folder) share one branch,
// as the single registry of a Windows 98 host does. Run as a 64-bit
// program on a fresh host, before anything writes the branch. Exit code 0
// when the link is made, else the system's error.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Wide(const char* text) {
    std::wstring wide;
    for (; *text; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return wide;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !*argv[1]) {
        std::fprintf(stderr, "usage: registry_link KEY (a key under HKLM\\Software)\n");
        return ERROR_INVALID_PARAMETER;
    }
    const std::wstring name = Wide(argv[1]);
    const std::wstring link = L"Software\\Wow6432Node\\" + name;
    const std::wstring target = L"\\Registry\\Machine\\Software\\" + name;

    // The target first: a link to nothing opens nothing.
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\" + name).c_str(), 0, nullptr, 0,
                                  KEY_READ | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) RegCloseKey(key);
    // A key already there is left as it is (deleting it through a link would
    // delete the target): the link is made once, on a fresh host.
    if (status == ERROR_SUCCESS && RegOpenKeyExW(HKEY_LOCAL_MACHINE, link.c_str(), REG_OPTION_OPEN_LINK,
                                                 KEY_READ | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        status = ERROR_ALREADY_EXISTS;
    }
    if (status == ERROR_SUCCESS)
        status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, link.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                 KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                                static_cast<DWORD>(target.size() * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) std::fprintf(stderr, "registry_link: %s: error %ld\n", argv[1], status);
    return static_cast<int>(status);
}
