// A module's own import table, redirected: setup.exe's call watch and the
// benches' call trace and replay put their replacements there, so
// the code they watch stays exactly as it ships.
#pragma once

#include <windows.h>

namespace imports {

struct Redirection {
    const char* name;  // the imported function
    void** real;       // where the system's entry is kept
    void* replacement;
};

// Points each listed import of this program at its replacement, keeping the
// system's entry in real; with redirect false, points them back at the
// system. The number of import entries changed, or -1 when the module's
// import table cannot be read.
int RedirectImports(const Redirection* redirections, int count, bool redirect);
// The same for the import table of a loaded library (or of any module).
int RedirectModuleImports(HMODULE module, const Redirection* redirections, int count, bool redirect);

}  // namespace imports
