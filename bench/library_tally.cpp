#include "library_tally.h"

#include "import_table.h"

namespace bench {

namespace {

struct Count {
    long calls = 0;
    LONGLONG ticks = 0;
};

const int kFunctionCount = 34;
Count counts[kFunctionCount];
bool counting = false;

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

#define COUNT(index, function)                                                              \
    {                                                                                       \
#function, reinterpret_cast < void**>(&Counted <index, decltype(&function)>::real), \
            reinterpret_cast < void*>(&Counted <index, decltype(&function)>::Call)          \
    }

// Every registry, file, profile and process function that Cleanup.dll
// imports; a function a library does not import simply stays at zero.
const Redirection redirections[kFunctionCount] = {
    COUNT(0, RegOpenKeyExA),
    COUNT(1, RegCreateKeyExA),
    COUNT(2, RegCloseKey),
    COUNT(3, RegEnumKeyA),
    COUNT(4, RegEnumKeyExA),
    COUNT(5, RegEnumValueA),
    COUNT(6, RegQueryValueExA),
    COUNT(7, RegSetValueExA),
    COUNT(8, RegDeleteKeyA),
    COUNT(9, RegDeleteValueA),
    COUNT(10, RegFlushKey),
    COUNT(11, CreateFileA),
    COUNT(12, ReadFile),
    COUNT(13, WriteFile),
    COUNT(14, CloseHandle),
    COUNT(15, FlushFileBuffers),
    COUNT(16, FindFirstFileA),
    COUNT(17, FindNextFileA),
    COUNT(18, FindClose),
    COUNT(19, GetFileAttributesA),
    COUNT(20, SetFileAttributesA),
    COUNT(21, DeleteFileA),
    COUNT(22, RemoveDirectoryA),
    COUNT(23, MoveFileA),
    COUNT(24, GetPrivateProfileIntA),
    COUNT(25, GetPrivateProfileSectionA),
    COUNT(26, GetProfileSectionA),
    COUNT(27, GetProfileStringA),
    COUNT(28, WritePrivateProfileSectionA),
    COUNT(29, WritePrivateProfileStringA),
    COUNT(30, WriteProfileStringA),
    COUNT(31, CreateProcessA),
    COUNT(32, WaitForSingleObject),
    COUNT(33, GetExitCodeProcess),
};

#undef COUNT

CallKind KindOf(int index) {
    if (index <= 10) return CallKind::kRegistry;
    if (index <= 23) return CallKind::kFile;
    if (index <= 30) return CallKind::kProfile;
    return CallKind::kProcess;
}

}  // namespace

long LibraryCounts::Calls(CallKind kind) const {
    long calls = 0;
    for (const LibraryTallyEntry& entry : entries) calls += entry.kind == kind ? entry.calls : 0;
    return calls;
}

long LibraryCounts::Calls() const {
    long calls = 0;
    for (const LibraryTallyEntry& entry : entries) calls += entry.calls;
    return calls;
}

bool LibraryTally::Start(HMODULE library) {
    if (counting || !library) return false;
    for (Count& count : counts) count = {};
    if (RedirectModuleImports(library, redirections, kFunctionCount, true) == 0) return false;
    library_ = library;
    counting = true;
    return true;
}

LibraryCounts LibraryTally::Stop() {
    LibraryCounts result;
    if (!counting) return result;
    RedirectModuleImports(library_, redirections, kFunctionCount, false);
    counting = false;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < kFunctionCount; ++i) {
        if (!counts[i].calls) continue;
        result.entries.push_back(
            {redirections[i].name, KindOf(i), counts[i].calls,
             1000.0 * static_cast<double>(counts[i].ticks) / static_cast<double>(frequency.QuadPart)});
    }
    return result;
}

}  // namespace bench
