#include "call_watch.h"

#include <cstring>

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

struct Watched {
    const char* name;
    void** real;
    void* counting;
};

#define WATCH(index, function)                                                              \
    Watched {                                                                               \
#function, reinterpret_cast < void**>(&Counted <index, decltype(&function)>::real), \
            reinterpret_cast < void*>(&Counted <index, decltype(&function)>::Call)          \
    }

// What changes the machine: files and folders, the registry, the profile
// files, and the programs started (the registry editor's import).
const Watched watched[] = {
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

void WriteSlot(void** slot, void* target) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = target;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

bool WatchCalls(HMODULE library, int stop) {
    stopAt = stop;
    auto* base = reinterpret_cast<BYTE*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return false;
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); module->Name;
         ++module) {
        if (!module->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
            for (const Watched& function : watched) {
                if (std::strcmp(function.name, name) != 0) continue;
                auto** slot = reinterpret_cast<void**>(&slots->u1.Function);
                *function.real = *slot;
                WriteSlot(slot, function.counting);
            }
        }
    }
    return true;
}

int WatchedCalls() {
    return counted;
}

}  // namespace setup
