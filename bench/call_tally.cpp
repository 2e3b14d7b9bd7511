#include "call_tally.h"

#include <windows.h>

#include <cstring>

namespace bench {

namespace {

struct Count {
    long calls = 0;
    LONGLONG ticks = 0;
};

const int kFunctionCount = 10;
Count counts[kFunctionCount];
bool counting = false;

// One replacement per function: the system's entry is kept in real, and each
// call is timed on the performance counter around it.
template <int Index, typename Function>
struct Counted;

template <int Index, typename Result, typename... Arguments>
struct Counted<Index, Result (*)(Arguments...)> {
    static inline Result (*real)(Arguments...) = nullptr;
    static Result Call(Arguments... arguments) {
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        Result result = real(arguments...);
        QueryPerformanceCounter(&after);
        ++counts[Index].calls;
        counts[Index].ticks += after.QuadPart - before.QuadPart;
        return result;
    }
};

struct Redirection {
    const char* name;
    void** real;
    void* counted;
};

#define COUNT(index, function)                                                              \
    {                                                                                       \
#function, reinterpret_cast < void**>(&Counted <index, decltype(&function)>::real), \
            reinterpret_cast < void*>(&Counted <index, decltype(&function)>::Call)          \
    }

const Redirection redirections[kFunctionCount] = {
    COUNT(0, RegOpenKeyExA), COUNT(1, RegCloseKey),       COUNT(2, RegEnumValueA),    COUNT(3, RegEnumKeyExA),
    COUNT(4, CreateFileA),   COUNT(5, WriteFile),         COUNT(6, FlushFileBuffers), COUNT(7, CloseHandle),
    COUNT(8, MoveFileA),     COUNT(9, GetFileAttributesA)};

#undef COUNT

void WriteSlot(void** slot, void* target) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = target;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

// Points each listed import of this program at its counting replacement, or
// back at the system's function; the number of functions changed.
int Redirect(bool count) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return 0;
    int changed = 0;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
         ++library) {
        if (!library->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const Redirection& each : redirections) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), each.name) != 0) continue;
                void** slot = reinterpret_cast<void**>(&slots->u1.Function);
                if (count) {
                    *each.real = *slot;
                    WriteSlot(slot, each.counted);
                } else {
                    WriteSlot(slot, *each.real);
                }
                ++changed;
            }
        }
    }
    return changed;
}

}  // namespace

bool CallTally::Start() {
    if (counting) return false;
    for (Count& count : counts) count = {};
    counting = true;
    // A function the program does not import would go uncounted.
    if (Redirect(true) != kFunctionCount) {
        Stop();
        return false;
    }
    return true;
}

std::vector<Tally> CallTally::Stop() {
    if (!counting) return {};
    Redirect(false);
    counting = false;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<Tally> tallies;
    for (int i = 0; i < kFunctionCount; ++i) {
        if (!counts[i].calls) continue;
        tallies.push_back({redirections[i].name, counts[i].calls,
                           1000.0 * static_cast<double>(counts[i].ticks) / static_cast<double>(frequency.QuadPart)});
    }
    return tallies;
}

}  // namespace bench
