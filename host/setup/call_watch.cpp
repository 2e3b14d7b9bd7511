#include "call_watch.h"

#include "import_table.h"

namespace setup {

namespace {

int counted = 0;
int stopAt = 0;

void Count(int index);

// One counting stand-in per function: the index keeps two functions of the
// same type apart.
template <int Index, typename Function>
struct Counted;
template <int Index, typename Result, typename... Arguments>
struct Counted<Index, Result(WINAPI*)(Arguments...)> {
    static inline Result(WINAPI* real)(Arguments...) = nullptr;
    static Result WINAPI Call(Arguments... arguments) {
        Count(Index);
        return real(arguments...);
    }
};

#define WATCH(index, function)                                                              \
    imports::Redirection {                                                                  \
#function, reinterpret_cast < void**>(&Counted <index, decltype(&function)>::real), \
            reinterpret_cast < void*>(&Counted <index, decltype(&function)>::Call)          \
    }

// What changes the machine: files and folders, the registry, the profile
// files, and the programs started (the registry editor's import).
const imports::Redirection watched[] = {
    WATCH(0, CreateFileA),
    WATCH(1, WriteFile),
    WATCH(2, FlushFileBuffers),
    WATCH(3, MoveFileA),
    WATCH(4, DeleteFileA),
    WATCH(5, RemoveDirectoryA),
    WATCH(6, SetFileAttributesA),
    WATCH(7, WritePrivateProfileStringA),
    WATCH(8, WritePrivateProfileSectionA),
    WATCH(9, WriteProfileStringA),
    WATCH(10, RegCreateKeyExA),
    WATCH(11, RegSetValueExA),
    WATCH(12, RegDeleteValueA),
    WATCH(13, RegDeleteKeyA),
    WATCH(14, RegFlushKey),
    WATCH(15, CreateProcessA),
};

// Each call is named on the error stream, so a cut-off point can be told
// by the call it stopped before.
void Count(int index) {
    ++counted;
    char line[64];
    const int length = wsprintfA(line, "call %d: %s\n", counted, watched[index].name);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, length, &written, nullptr);
    if (counted == stopAt) TerminateProcess(GetCurrentProcess(), kExitCutOff);
}

}  // namespace

bool WatchCalls(HMODULE library, int stop) {
    stopAt = stop;
    return imports::RedirectModuleImports(library, watched, sizeof watched / sizeof watched[0], true) >= 0;
}

int WatchedCalls() {
    return counted;
}

}  // namespace setup
