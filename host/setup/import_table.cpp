#include "import_table.h"

#include <windows.h>

#include <cstring>

namespace imports {

namespace {

void WriteSlot(void** slot, void* target) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = target;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

int RedirectImports(const Redirection* redirections, int count, bool redirect) {
    return RedirectModuleImports(GetModuleHandleA(nullptr), redirections, count, redirect);
}

int RedirectModuleImports(HMODULE module, const Redirection* redirections, int count, bool redirect) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE) return -1;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return -1;
    int changed = 0;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); library->Name;
         ++library) {
        if (!library->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const Redirection* each = redirections; each < redirections + count; ++each) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), each->name) != 0) continue;
                void** slot = reinterpret_cast<void**>(&slots->u1.Function);
                if (redirect) {
                    *each->real = *slot;
                    WriteSlot(slot, each->replacement);
                } else {
                    WriteSlot(slot, *each->real);
                }
                ++changed;
            }
        }
    }
    return changed;
}

}  // namespace imports
